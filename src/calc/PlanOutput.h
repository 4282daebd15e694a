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
// go to standard error as "quorvel-calc: <label>: <message>". With json,
// the answers as JSON instead: per design its name, file, quantity, target
// and per point the ranged value, the fields written, the fish in all, the
// measure achieved, whether it is met and the one-short figures (an array of
// them for several designs). Answers the exit status (ExitStatus) and, on
// success, the output in *output.
int solvePlans(const QList<QPair<QString, Design>>& designs, const PlanRequest& request, bool json,
               QByteArray* output);
