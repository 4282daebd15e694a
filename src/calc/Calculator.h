#pragma once

#include "calc/CommandLine.h"

// Carries out one request of quorvel-calc: refuses an output that would
// replace one of its design files, reads every design (from its file or from
// the stored settings), computes each along the window's path, and only when
// all of them are computed writes the outputs. Problems go to
// standard error, one line each, as "quorvel-calc: <design>: <message>".
// Answers the exit status (ExitStatus). A text output needs the application
// object to be a QGuiApplication.
int calculate(const CalcRequest& request);
