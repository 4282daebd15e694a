#pragma once

#include "engine/information/ReleaseChain.h"
#include "engine/simulation/ReleaseDesign.h"
#include "engine/simulation/SegmentCounts.h"
#include "engine/simulation/SimulationStream.h"

#include <vector>

// One simulated data set of chain at parameters: each of the N_s fish
// released at site s survives reach j with S_j and, alive at site
// j + 1, is detected there with P_j; a detected fish is removed with c_j and
// otherwise starts a new segment there. A fish alive at site K is detected at
// the final site with lambda. The fish are drawn together, reach by reach:
// the survivors, detections and removals of every group of fish that
// started a segment at one site are binomial counts (binomialDraw), so the
// time does not grow with the release sizes.
SegmentCounts simulateSegmentCounts(const ReleaseChain& chain,
                                    const std::vector<double>& parameters,
                                    SimulationStream& stream);

// One data set of every group of design, at its true values, the groups
// drawn in order from one stream.
std::vector<SegmentCounts> simulateDesign(const ReleaseDesign& design, SimulationStream& stream);
