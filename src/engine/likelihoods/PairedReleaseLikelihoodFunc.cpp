#include "engine/likelihoods/PairedReleaseLikelihoodFunc.h"

#include "engine/expressions/MultiplyOperation.h"

#include <string>

PairedReleaseLikelihoodFunc::PairedReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                                         const std::vector<int>& detectionLabels)
    : PairedReleaseBaseLikelihoodFunc(survivalLabels, detectionLabels, 2)
{}

void PairedReleaseLikelihoodFunc::setCase(double st, double sc,
                                          const std::vector<double>& removalProportions,
                                          std::vector<double>& parametersOut, int controlRelease,
                                          int treatmentRelease,
                                          const std::vector<double>& survivalValues,
                                          const std::vector<double>& detectionValues, double lambda)
{
    const char* const owner = "PairedReleaseLikelihoodFunc";
    PairedReleaseLayout::checkFirstReach(owner, sc, st);
    std::vector<double> leading(2);
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
