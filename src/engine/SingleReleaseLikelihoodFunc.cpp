#include "engine/SingleReleaseLikelihoodFunc.h"

#include <algorithm>
#include <string>

namespace {

const char* const owner = "SingleReleaseLikelihoodFunc";

} // namespace

SingleReleaseLikelihoodFunc::SingleReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                                         const std::vector<int>& detectionLabels)
    : survivals(survivalLabels, 0)
    , detections(detectionLabels, survivals.nextIndex())
    , lambdaPosition(detections.nextIndex())
    , parameters(lambdaPosition + 1)
{
    requireLength(owner, detectionLabels.size(), static_cast<int>(survivalLabels.size()),
                  "detection labels");
}

void SingleReleaseLikelihoodFunc::setCase(const std::vector<double>& removalProportions,
                                          std::vector<double>& parametersOut,
                                          const std::vector<int>& releaseSizes,
                                          const std::vector<double>& survivalValues,
                                          const std::vector<double>& detectionValues, double lambda)
{
    requireLength(owner, removalProportions.size(), reachCount(), "removal proportions");
    requireLength(owner, releaseSizes.size(), chiSize(), "release sizes");
    requireLength(owner, survivalValues.size(), survivals.createdCount(), "survival values");
    requireLength(owner, detectionValues.size(), detections.createdCount(), "detection values");

    clear();
    removals = removalProportions;
    parametersOut.resize(static_cast<std::size_t>(parameters));
    auto out = parametersOut.begin();
    out = std::copy(survivalValues.begin(), survivalValues.end(), out);
    out = std::copy(detectionValues.begin(), detectionValues.end(), out);
    *out = lambda;

    buildChi(chiExpressions, chiSize(), survivals, detections, lambdaPosition);
    addCells(releaseSizes, chiExpressions, survivals, detections, lambdaPosition, parametersOut);
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
