#include "engine/likelihoods/PairedReleaseLikelihoodFunc.h"

#include "engine/expressions/MultiplyOperation.h"

#include <string>

namespace {

const char* const owner = "PairedReleaseLikelihoodFunc";

} // namespace

PairedReleaseLikelihoodFunc::PairedReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                                         const std::vector<int>& detectionLabels)
    : PairedReleaseBaseLikelihoodFunc(owner, survivalLabels, detectionLabels,
                                      PairedReleaseLayout::firstReachParameterCount)
{}

void PairedReleaseLikelihoodFunc::setCase(double st, double sc,
                                          const std::vector<double>& removalProportions,
                                          std::vector<double>& parametersOut, int controlRelease,
                                          int treatmentRelease,
                                          const std::vector<double>& survivalValues,
                                          const std::vector<double>& detectionValues, double lambda)
{
    PairedReleaseLayout::checkFirstReach(owner, sc, st);
    std::vector<double> leading(PairedReleaseLayout::firstReachParameterCount);
    leading[static_cast<std::size_t>(scIndex())] = sc;
    leading[static_cast<std::size_t>(stIndex())] = st;
    setGroups(owner, leading, removalProportions, parametersOut, controlRelease, treatmentRelease,
              survivalValues, detectionValues, lambda);
}

Expression PairedReleaseLikelihoodFunc::survivalExpression(int reach,
                                                           const ParameterMap& survivalMap) const
{
    if (reach > 0)
        return namedParameter("S" + std::to_string(reach - 1),
                              survivalMap.positionIndex(reach - 1));
    Expression first = namedParameter("Sc", scIndex());
    if (isTreatment(survivalMap))
        first.append(std::make_unique<MultiplyOperation>(namedParameter("St", stIndex())));
    return first;
}

Expression PairedReleaseLikelihoodFunc::detectionExpression(int reach,
                                                            const ParameterMap& detectionMap) const
{
    return namedParameter("P" + std::to_string(reach), detectionMap.positionIndex(reach));
}
