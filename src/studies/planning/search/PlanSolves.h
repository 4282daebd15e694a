#pragma once

#include "studies/planning/Planner.h"
#include "studies/planning/search/PlanMeasurer.h"

// The planner's three solves, each for one point of a design (its range
// holder fixed): each fills row with the answer or why the target cannot be
// met there, or answers false with *error when the request cannot be planned
// at all. A cancel seen by measure ends a solve early with true.
namespace planning {

// Every release size scaled together, in proportion: the fewest fish.
bool solveReleaseSize(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                      PlanRow* row, QString* error);
// The split of a two-group design's total, and the smallest total meeting
// the target at its best split.
bool solveSplit(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                PlanRow* row, QString* error);
// The smallest value of one probability meeting the target, from every
// step of its grid, with the other stretches where it is met named in the
// answer.
bool solveProbability(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                      PlanRow* row, QString* error);

} // namespace planning
