#pragma once

#include "engine/likelihoods/PairedReleaseBaseLikelihoodFunc.h"

// The paired-release design: in the first reach the control group survives
// with Sc and the treatment group with Sc·St, so St, the ratio of the two, is
// the treatment survival the study measures. Sc and St lead the parameter
// vector (indices 0 and 1); everything downstream has a parameter per group.
class PairedReleaseLikelihoodFunc : public PairedReleaseBaseLikelihoodFunc
{
public:
    // D survival labels, one per downstream reach; D + 1 detection labels,
    // one per detection site.
    PairedReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                const std::vector<int>& detectionLabels);

    // Loads one case: St and Sc, D + 1 removal proportions, the two release
    // sizes, one value per distinct downstream survival and detection label
    // and lambda, the same for both groups. Writes the true parameter vector
    // into parametersOut (resized to parameterCount()) and rebuilds the
    // cells. Throws std::invalid_argument when a vector has the wrong length
    // or a value lies outside its domain (see PairedReleaseLayout's
    // checkFirstReach and checkCase), leaving the loaded case and
    // parametersOut as they were.
    void setCase(double st, double sc, const std::vector<double>& removalProportions,
                 std::vector<double>& parametersOut, int controlRelease, int treatmentRelease,
                 const std::vector<double>& survivalValues,
                 const std::vector<double>& detectionValues, double lambda);

    int scIndex() const { return PairedReleaseLayout::scIndex; }
    int stIndex() const { return PairedReleaseLayout::stIndex; }

protected:
    // Reach 0: [Sc]·[St] for the treatment group, [Sc] for the control group;
    // reach i ≥ 1: the group's parameter "S" + (i − 1) of the reach's label.
    Expression survivalExpression(int reach, const ParameterMap& survivalMap) const override;
    // The group's parameter "P" + reach of the site's label.
    Expression detectionExpression(int reach, const ParameterMap& detectionMap) const override;
};
