#pragma once

#include "engine/information/ReleaseChain.h"
#include "engine/information/ReleaseRecaptureInformation.h"

#include <vector>

// A release-recapture design as the simulation draws data from it and fits
// them: its groups of fish, each with the removals and release sizes of the
// case, and the true parameter vector that the chains' indices read. The
// single release has one chain; the paired release has the control and the
// treatment chain, the treatment's first survival being Sc * St through
// firstSurvivalFactorIndex.
struct ReleaseDesign
{
    std::vector<ReleaseChain> chains;
    std::vector<double> trueValues;
};

// Throws std::invalid_argument naming owner unless every chain of chains fits
// a parameter vector of parameterCount values: one survival and detection
// index and one removal proportion in [0, 1) per reach, reachCount() + 1
// release sizes that are whole numbers of at least 0, and indices inside the
// vector. A survival factor must be a parameter of its own that only
// multiplies the first survival of the same parameter in every chain that
// uses it, as St does for the paired release.
void checkReleaseChains(const char* owner, const std::vector<ReleaseChain>& chains,
                        int parameterCount);

// checkReleaseChains for the design's chains and its true values, and then
// the values: every survival (S_0 times its factor included), detection and
// lambda a probability, and every factor at least 0.
void checkReleaseDesign(const char* owner, const ReleaseDesign& design);

// The case information has loaded (SingleReleaseInformation or
// PairedReleaseInformation after setCase) as a ReleaseDesign, so that the
// simulation draws from the very chains whose precision the information
// predicts.
ReleaseDesign releaseDesignOf(const ReleaseRecaptureInformation& information);
