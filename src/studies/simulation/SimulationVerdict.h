#pragma once

#include "engine/simulation/SimulationSummary.h"

#include <QString>

// How many Monte Carlo standard errors a figure may lie from its expected
// value before the verdict calls it different: with three, a design whose
// predicted precision holds is flagged by chance for fewer than 3 in 1000
// figures.
constexpr double verdictTolerance = 3.0;

// The verdict in plain words on one quantity's predicted precision: "the
// predicted precision holds" when the spread of the estimates over the
// predicted SE (sdRatio) lies within verdictTolerance Monte Carlo errors of
// 1, and the 90% and 95% coverages within as many of 90% and 95%. Otherwise
// it says what differs and in which direction, e.g. "95% intervals cover
// 88%: the predicted half-width is optimistic at this release size": more
// spread or less coverage than predicted is optimistic, less spread or more
// coverage pessimistic.
QString precisionVerdict(const ParameterSummary& quantity);
