#pragma once

#include "engine/likelihoods/ReleaseRecaptureLikelihoodFunc.h"
#include "engine/likelihoods/SingleReleaseLayout.h"

#include <vector>

// The likelihood of one group of fish moving down a chain of R reaches (reach
// i from site i to site i+1), detected at sites 1 .. R with a known
// proportion of the detected fish removed at each, followed by a final reach
// whose survival and detection are confounded in lambda. Fish may be released
// at any site 0 .. R.
//
// Parameter vector: one survival per distinct survival label (in order of
// first appearance), one detection per distinct detection label, then
// lambda. Reaches with equal labels share a parameter.
class SingleReleaseLikelihoodFunc : public ReleaseRecaptureLikelihoodFunc
{
public:
    // One survival label and one detection label per reach.
    SingleReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                const std::vector<int>& detectionLabels);

    // Loads one case: R removal proportions, R + 1 release sizes N_0 .. N_R,
    // one value per distinct survival and detection label, and lambda. Writes
    // the true parameter vector into parametersOut (resized to
    // parameterCount()) and rebuilds chi, cells and expected counts. Throws
    // std::invalid_argument when a vector has the wrong length or a value lies
    // outside its domain (see SingleReleaseLayout::checkCase), leaving the
    // loaded case and parametersOut as they were.
    void setCase(const std::vector<double>& removalProportions, std::vector<double>& parametersOut,
                 const std::vector<int>& releaseSizes, const std::vector<double>& survivalValues,
                 const std::vector<double>& detectionValues, double lambda);

    int parameterCount() const { return layout.parameterCount(); }
    int reachCount() const { return layout.reachCount(); }
    // F = R + 1, the number of chi expressions.
    int chiSize() const { return reachCount() + 1; }
    const ParameterMap& survivalMap() const { return layout.survivalMap(); }
    const ParameterMap& detectionMap() const { return layout.detectionMap(); }
    int lambdaIndex() const { return layout.lambdaIndex(); }
    const SingleReleaseLayout& parameterLayout() const { return layout; }
    // χ_site of the current case.
    const Expression& chi(int site) const { return chiExpressions[static_cast<std::size_t>(site)]; }

protected:
    // The parameter "S" + reach of the reach's survival label.
    Expression survivalExpression(int reach, const ParameterMap& survivalMap) const override;
    // The parameter "P" + reach of the reach's detection label.
    Expression detectionExpression(int reach, const ParameterMap& detectionMap) const override;
    double removalProportion(int reach) const override;
    void clear() override;

private:
    SingleReleaseLayout layout;
    std::vector<double> removals;
    std::vector<Expression> chiExpressions;
};
