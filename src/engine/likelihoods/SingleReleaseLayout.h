#pragma once

#include "engine/expressions/ParameterMap.h"

#include <vector>

// The parameter vector of the single-release design, shared by its enumerated
// likelihood and its exact information so that both read the same vector: one
// survival per distinct survival label (in order of first appearance), one
// detection per distinct detection label, then lambda. Reaches with equal
// labels share a parameter.
class SingleReleaseLayout
{
public:
    // One survival label and one detection label per reach, none negative.
    // owner names the class whose inputs are checked; lists of different
    // lengths or a negative label throw std::invalid_argument.
    SingleReleaseLayout(const char* owner, const std::vector<int>& survivalLabels,
                        const std::vector<int>& detectionLabels);

    int parameterCount() const { return lambdaPosition + 1; }
    int reachCount() const { return survivals.positionCount(); }
    const ParameterMap& survivalMap() const { return survivals; }
    const ParameterMap& detectionMap() const { return detections; }
    int lambdaIndex() const { return lambdaPosition; }

    // Checks one case: R removal proportions in [0, 1), R + 1 release sizes
    // of at least 0, one value per distinct survival and detection label, and
    // lambda, all of them probabilities. Throws std::invalid_argument naming
    // owner and the first value that does not fit otherwise.
    void checkCase(const char* owner, const std::vector<double>& removalProportions,
                   const std::vector<int>& releaseSizes, const std::vector<double>& survivalValues,
                   const std::vector<double>& detectionValues, double lambda) const;

    // Writes the true parameter vector of a checked case into parametersOut,
    // resized to parameterCount().
    void writeParameters(std::vector<double>& parametersOut,
                         const std::vector<double>& survivalValues,
                         const std::vector<double>& detectionValues, double lambda) const;

private:
    ParameterMap survivals;
    ParameterMap detections;
    int lambdaPosition;
};
