#pragma once

#include "engine/likelihoods/PairedReleaseLayout.h"
#include "engine/likelihoods/ReleaseRecaptureLikelihoodFunc.h"

#include <vector>

// Two groups of fish, control and treatment, released together at site 0 and
// detected down the same chain: the first reach (site 0 to site 1), D
// downstream reaches, detection sites 1 .. D+1 with known removal
// proportions, and a final reach confounded in lambda. Both groups have their
// own downstream survival, detection and lambda parameters; equal labels
// share a parameter within a group, never across the groups. How the first
// reach's survival is written is up to the derived class, which also owns
// the leading parameters placed before all group parameters.
//
// Parameter vector: the leading parameters, control survivals, treatment
// survivals, control detections, treatment detections, control lambda,
// treatment lambda. The cells list every control history, then every
// treatment history.
class PairedReleaseBaseLikelihoodFunc : public ReleaseRecaptureLikelihoodFunc
{
public:
    int parameterCount() const { return layout.parameterCount(); }
    int leadingParameterCount() const { return layout.leadingParameterCount(); }
    int downstreamReachCount() const { return layout.downstreamReachCount(); }
    // F = D + 2, the number of chi expressions of each group.
    int chiSize() const { return downstreamReachCount() + 2; }

    const ParameterMap& controlSurvivalMap() const { return layout.controlSurvivalMap(); }
    const ParameterMap& treatmentSurvivalMap() const { return layout.treatmentSurvivalMap(); }
    const ParameterMap& controlDetectionMap() const { return layout.controlDetectionMap(); }
    const ParameterMap& treatmentDetectionMap() const { return layout.treatmentDetectionMap(); }
    int controlLambdaIndex() const { return layout.controlLambdaIndex(); }
    int treatmentLambdaIndex() const { return layout.treatmentLambdaIndex(); }
    const PairedReleaseLayout& parameterLayout() const { return layout; }
    // χ_site of each group for the current case.
    const Expression& controlChi(int site) const
    {
        return controlChis[static_cast<std::size_t>(site)];
    }
    const Expression& treatmentChi(int site) const
    {
        return treatmentChis[static_cast<std::size_t>(site)];
    }

protected:
    // D survival labels (one per downstream reach) and D + 1 detection labels
    // (one per detection site); owner, the derived class's name, heads the
    // message when they do not fit.
    PairedReleaseBaseLikelihoodFunc(const char* owner, const std::vector<int>& survivalLabels,
                                    const std::vector<int>& detectionLabels,
                                    int leadingParameterCount);

    // Loads both groups with the same true values: D + 1 removal
    // proportions, one value per distinct survival and detection label, and
    // lambda, with controlRelease and treatmentRelease fish released at site
    // 0. Writes parametersOut (resized to parameterCount()): the leading
    // parameters' values, then the group blocks; rebuilds chi, cells and
    // expected counts. Throws std::invalid_argument for wrong lengths and for
    // group values outside their domain (PairedReleaseLayout::checkCase),
    // leaving the loaded case and parametersOut as they were.
    void setGroups(const char* owner, const std::vector<double>& leadingValues,
                   const std::vector<double>& removalProportions,
                   std::vector<double>& parametersOut, int controlRelease, int treatmentRelease,
                   const std::vector<double>& survivalValues,
                   const std::vector<double>& detectionValues, double lambda);

    bool isTreatment(const ParameterMap& survivalMap) const
    {
        return &survivalMap == &layout.treatmentSurvivalMap();
    }

    double removalProportion(int reach) const override;
    void clear() override;

private:
    PairedReleaseLayout layout;
    std::vector<double> removals;
    std::vector<Expression> controlChis;
    std::vector<Expression> treatmentChis;
};
