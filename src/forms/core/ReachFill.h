#pragma once

#include <QString>

// What "Fill reaches…" writes into a span of reaches of a single- or
// paired-release design: reaches from to to (their numbers as the panels show
// them), each given the survival, detection probability and removal
// proportion here; an empty text leaves that parameter of every reach alone.
struct ReachFill
{
    int from = 1;
    int to = 1;
    QString survival;
    QString detection;
    QString removal;
};
