#pragma once

#include "engine/expressions/ParameterMap.h"

#include <vector>

// The parameter vector of the paired-release design, shared by its enumerated
// likelihood and its exact information so that both read the same vector:
// the leading parameters (Sc and St), then the control and the treatment
// downstream survivals, the control and the treatment detections, and the
// control and the treatment lambda. Equal labels share a parameter within a
// group, never across the groups.
class PairedReleaseLayout
{
public:
    // The leading parameters of the paired release: the control group
    // survives the first reach with Sc, the treatment group with Sc * St.
    static constexpr int scIndex = 0;
    static constexpr int stIndex = 1;
    static constexpr int firstReachParameterCount = 2;

    // D survival labels, one per downstream reach, and D + 1 detection labels,
    // one per intermediate detection site, none negative. owner names the
    // class whose inputs are checked; lengths that do not fit or a negative
    // label throw std::invalid_argument.
    PairedReleaseLayout(const char* owner, const std::vector<int>& survivalLabels,
                        const std::vector<int>& detectionLabels, int leadingParameterCount);

    int parameterCount() const { return controlLambda + 2; }
    int leadingParameterCount() const { return controlSurvivals.firstIndex(); }
    int downstreamReachCount() const { return controlSurvivals.positionCount(); }
    const ParameterMap& controlSurvivalMap() const { return controlSurvivals; }
    const ParameterMap& treatmentSurvivalMap() const { return treatmentSurvivals; }
    const ParameterMap& controlDetectionMap() const { return controlDetections; }
    const ParameterMap& treatmentDetectionMap() const { return treatmentDetections; }
    int controlLambdaIndex() const { return controlLambda; }
    int treatmentLambdaIndex() const { return controlLambda + 1; }

    // Checks the group part of one case: D + 1 removal proportions in
    // [0, 1), one value per distinct downstream survival and detection label
    // and lambda, all of them probabilities, and release sizes of at least 0.
    // Throws std::invalid_argument naming owner and the first value that does
    // not fit otherwise.
    void checkCase(const char* owner, const std::vector<double>& removalProportions,
                   const std::vector<double>& survivalValues,
                   const std::vector<double>& detectionValues, double lambda, int controlRelease,
                   int treatmentRelease) const;

    // Checks the first reach's survivals: Sc and Sc * St are probabilities and
    // St, their ratio, is not negative. Throws std::invalid_argument naming
    // owner otherwise.
    static void checkFirstReach(const char* owner, double sc, double st);

    // Writes the group blocks of a checked case into parametersOut, which
    // holds parameterCount() values: both groups take the same true values.
    // The leading parameters are left as they are.
    void writeGroupParameters(std::vector<double>& parametersOut,
                              const std::vector<double>& survivalValues,
                              const std::vector<double>& detectionValues, double lambda) const;

private:
    ParameterMap controlSurvivals;
    ParameterMap treatmentSurvivals;
    ParameterMap controlDetections;
    ParameterMap treatmentDetections;
    int controlLambda;
};
