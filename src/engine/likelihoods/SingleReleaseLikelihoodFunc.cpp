#include "engine/likelihoods/SingleReleaseLikelihoodFunc.h"

#include <string>

namespace {

const char* const owner = "SingleReleaseLikelihoodFunc";

} // namespace

SingleReleaseLikelihoodFunc::SingleReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                                         const std::vector<int>& detectionLabels)
    : layout(owner, survivalLabels, detectionLabels)
{}

void SingleReleaseLikelihoodFunc::setCase(const std::vector<double>& removalProportions,
                                          std::vector<double>& parametersOut,
                                          const std::vector<int>& releaseSizes,
                                          const std::vector<double>& survivalValues,
                                          const std::vector<double>& detectionValues, double lambda)
{
    layout.checkCase(owner, removalProportions, releaseSizes, survivalValues, detectionValues,
                     lambda);

    clear();
    removals = removalProportions;
    layout.writeParameters(parametersOut, survivalValues, detectionValues, lambda);

    buildChi(chiExpressions, chiSize(), survivalMap(), detectionMap(), lambdaIndex());
    addCells(releaseSizes, chiExpressions, survivalMap(), detectionMap(), lambdaIndex(),
             parametersOut);
}

Expression SingleReleaseLikelihoodFunc::survivalExpression(int reach,
                                                           const ParameterMap& survivalMap) const
{
    return namedParameter("S" + std::to_string(reach), survivalMap.positionIndex(reach));
}

Expression SingleReleaseLikelihoodFunc::detectionExpression(int reach,
                                                            const ParameterMap& detectionMap) const
{
    return namedParameter("P" + std::to_string(reach), detectionMap.positionIndex(reach));
}

double SingleReleaseLikelihoodFunc::removalProportion(int reach) const
{
    return removals[static_cast<std::size_t>(reach)];
}

void SingleReleaseLikelihoodFunc::clear()
{
    ReleaseRecaptureLikelihoodFunc::clear();
    chiExpressions.clear();
}
