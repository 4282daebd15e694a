#include "engine/SingleReleaseLikelihoodFunc.h"

#include "engine/ParameterElement.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

void requireLength(std::size_t actual, int expected, const char* what)
{
    if (actual != static_cast<std::size_t>(expected))
        throw std::invalid_argument(std::string("SingleReleaseLikelihoodFunc: expected ") +
                                    std::to_string(expected) + ' ' + what + ", got " +
                                    std::to_string(actual));
}

} // namespace

SingleReleaseLikelihoodFunc::SingleReleaseLikelihoodFunc(const std::vector<int>& survivalLabels,
                                                         const std::vector<int>& detectionLabels)
    : survivals(survivalLabels, 0)
    , detections(detectionLabels, survivals.nextIndex())
    , lambdaPosition(detections.nextIndex())
    , parameters(lambdaPosition + 1)
{
    requireLength(detectionLabels.size(), static_cast<int>(survivalLabels.size()),
                  "detection labels");
}

void SingleReleaseLikelihoodFunc::setCase(const std::vector<double>& removalProportions,
                                          std::vector<double>& parametersOut,
                                          const std::vector<int>& releaseSizes,
                                          const std::vector<double>& survivalValues,
                                          const std::vector<double>& detectionValues, double lambda)
{
    requireLength(removalProportions.size(), reachCount(), "removal proportions");
    requireLength(releaseSizes.size(), chiSize(), "release sizes");
    requireLength(survivalValues.size(), survivals.createdCount(), "survival values");
    requireLength(detectionValues.size(), detections.createdCount(), "detection values");

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
    return Expression(std::make_unique<ParameterElement>("S" + std::to_string(reach),
                                                         survivalMap.positionIndex(reach)));
}

Expression SingleReleaseLikelihoodFunc::detectionExpression(int reach,
                                                            const ParameterMap& detectionMap) const
{
    return Expression(std::make_unique<ParameterElement>("P" + std::to_string(reach),
                                                         detectionMap.positionIndex(reach)));
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
