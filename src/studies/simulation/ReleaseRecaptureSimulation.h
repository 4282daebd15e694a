#pragma once

#include "studies/simulation/DesignSimulation.h"

#include <memory>

// The checks by simulation of the single and paired releases: the record of
// the design's run, each point loaded into the design's exact information,
// whose chains the fish are drawn from and whose inverse predicts the
// precision. The quantities are the estimated parameters under the names and
// in the order of the design's report; derived quantities (CompositeS) and
// the replicate adjustment are not simulated.
std::unique_ptr<DesignSimulation> singleReleaseSimulation(const Design& design);
std::unique_ptr<DesignSimulation> pairedReleaseSimulation(const Design& design);
