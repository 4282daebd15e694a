#pragma once

#include "engine/simulation/SimulationSummary.h"

#include <QString>

// How many Monte Carlo standard errors a figure may lie from its expected
// value before the verdict calls it different: with three, a design whose
// predicted precision holds is flagged by chance for fewer than 3 in 1000
// figures.
constexpr double verdictTolerance = 3.0;

// The verdict in plain words on the predicted precision of quantity
// (an index into summary.parameters): "the predicted precision holds" when
// the spread of the estimates over the predicted SE (sdRatio) lies within
// verdictTolerance Monte Carlo errors of 1 (the error the prediction would
// give it), and the 90% and 95% coverages are counts a binomial of 90% and
// 95% gives as often as a normal figure that close. Otherwise it
// says what differs and in which direction, e.g. "95% intervals cover 88%:
// the predicted half-width is optimistic at this release size": more spread
// or less coverage than predicted is optimistic, less spread or more coverage
// pessimistic.
//
// Each figure is judged on the fits that give it: the spread on every
// converged fit, the coverages on the fits with standard errors. Where the
// fits say little it is named: "not judged: 85% of the fits sit on a bound"
// when most do (their estimates are cut off where the prediction assumes a
// smooth spread), the coverages not judged when many fits have no standard
// errors, and the shares of failed fits and fits on a bound beside the
// verdict when they are large enough to matter.
QString precisionVerdict(const SimulationSummary& summary, int quantity);
