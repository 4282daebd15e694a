#pragma once

#include "studies/design/Design.h"
#include "studies/planning/Planner.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The plans of quorvel-calc --solve: every design, named by its label,
// planned to request, each answer printed as text in the report's layout (one
// after another, each headed by its label, when there are several). Problems
// go to standard error as "quorvel-calc: <label>: <message>". Answers the
// exit status (ExitStatus) and, on success, the text in *output.
int solvePlans(const QList<QPair<QString, Design>>& designs, const PlanRequest& request,
               QByteArray* output);
