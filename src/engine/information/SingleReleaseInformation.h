#pragma once

#include "engine/information/ReleaseRecaptureInformation.h"
#include "engine/likelihoods/SingleReleaseLayout.h"

#include <vector>

// The exact precision of the single-release design (one group of fish down R
// reaches, releases at any site 0 .. R, removals at the detection sites),
// with the parameter vector of SingleReleaseLikelihoodFunc built from the
// same labels: survivals, detections, lambda.
class SingleReleaseInformation : public ReleaseRecaptureInformation
{
public:
    // One survival label and one detection label per reach. Throws
    // std::invalid_argument when the two lists differ in length.
    SingleReleaseInformation(const std::vector<int>& survivalLabels,
                             const std::vector<int>& detectionLabels);

    // Loads one case, with the arguments of SingleReleaseLikelihoodFunc::setCase:
    // R removal proportions, R + 1 release sizes N_0 .. N_R, one value per
    // distinct survival and detection label, and lambda. Writes the true
    // parameter vector into parametersOut (resized to parameterCount()).
    // Throws std::invalid_argument when a vector has the wrong length or a
    // value lies outside its domain (see SingleReleaseLayout::checkCase),
    // leaving the loaded case and parametersOut as they were.
    void setCase(const std::vector<double>& removalProportions, std::vector<double>& parametersOut,
                 const std::vector<int>& releaseSizes, const std::vector<double>& survivalValues,
                 const std::vector<double>& detectionValues, double lambda);

    int reachCount() const { return layout.reachCount(); }
    const ParameterMap& survivalMap() const { return layout.survivalMap(); }
    const ParameterMap& detectionMap() const { return layout.detectionMap(); }
    int lambdaIndex() const { return layout.lambdaIndex(); }
    const SingleReleaseLayout& parameterLayout() const { return layout; }

private:
    SingleReleaseLayout layout;
};
