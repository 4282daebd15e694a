#pragma once

#include "calc/CommandLine.h"
#include "studies/design/Design.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The answers of quorvel-calc --sensitivity and --band: every design, named
// by its label, analysed as request.guesses asks, in request.format (with
// --solve, the plan for the band's worst case, as text). Several designs
// give the texts one after another headed by their labels, one CSV with a
// design column, or a JSON array. Problems go to standard error as
// "quorvel-calc: <label>: <message>". Answers the exit status (ExitStatus)
// and, on success, the output in *output.
int analyseGuesses(const QList<QPair<QString, Design>>& designs, const CalcRequest& request,
                   QByteArray* output);
