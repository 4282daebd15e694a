#include "engine/likelihoods/ReleaseRecaptureLikelihoodFunc.h"

#include "engine/expressions/AddOperation.h"
#include "engine/expressions/LiteralElement.h"
#include "engine/expressions/MultiplyOperation.h"
#include "engine/expressions/ParameterElement.h"
#include "engine/expressions/SubtractOperation.h"
#include "engine/histories/RRCaptureHistoryIncrementer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

std::unique_ptr<Operation> times(const Expression& factor)
{
    return std::make_unique<MultiplyOperation>(factor);
}

} // namespace

double ReleaseRecaptureLikelihoodFunc::value(const std::vector<double>& parameters) const
{
    double sum = 0.0;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        const double count = expectedCounts[k];
        if (count == 0.0)
            continue;
        const double probability = cells[k].evaluate(parameters);
        if (probability > 0.0)
            sum += count * std::log(probability);
    }
    return -sum;
}

Expression ReleaseRecaptureLikelihoodFunc::parameterExpression(int index) const
{
    return namedParameter(std::string(), index);
}

Expression ReleaseRecaptureLikelihoodFunc::namedParameter(const std::string& label, int index)
{
    return Expression(std::make_unique<ParameterElement>(label, index));
}

void ReleaseRecaptureLikelihoodFunc::clear()
{
    cells.clear();
    expectedCounts.clear();
}

Expression ReleaseRecaptureLikelihoodFunc::oneMinus(const Expression& e)
{
    Expression result(std::make_unique<LiteralElement>(1.0));
    result.append(std::make_unique<SubtractOperation>(e));
    return result;
}

Expression ReleaseRecaptureLikelihoodFunc::constantExpression(int reach) const
{
    return Expression(std::make_unique<LiteralElement>(removalProportion(reach)));
}

void ReleaseRecaptureLikelihoodFunc::buildChi(std::vector<Expression>& chi, int chiSize,
                                              const ParameterMap& survivalMap,
                                              const ParameterMap& detectionMap,
                                              int lambdaIndex) const
{
    chi.clear();
    if (chiSize <= 0)
        return;
    // Built from the last site upwards, then put in site order.
    std::vector<Expression> downstreamFirst;
    downstreamFirst.reserve(static_cast<std::size_t>(chiSize));
    downstreamFirst.push_back(oneMinus(parameterExpression(lambdaIndex)));
    for (int s = chiSize - 2; s >= 0; --s) {
        Expression passesUnseen = survivalExpression(s, survivalMap);
        passesUnseen.append(times(oneMinus(detectionExpression(s, detectionMap))));
        passesUnseen.append(times(downstreamFirst.back()));
        Expression chiS = oneMinus(survivalExpression(s, survivalMap));
        chiS.append(std::make_unique<AddOperation>(passesUnseen));
        downstreamFirst.push_back(chiS);
    }
    chi.assign(downstreamFirst.rbegin(), downstreamFirst.rend());
}

std::vector<ReleaseRecaptureLikelihoodFunc::ReachFactors>
ReleaseRecaptureLikelihoodFunc::buildReachFactors(int reachCount, const ParameterMap& survivalMap,
                                                  const ParameterMap& detectionMap) const
{
    std::vector<ReachFactors> factors;
    factors.reserve(static_cast<std::size_t>(std::max(reachCount, 0)));
    for (int reach = 0; reach < reachCount; ++reach) {
        const Expression detection = detectionExpression(reach, detectionMap);
        const Expression removal = constantExpression(reach);
        factors.push_back({survivalExpression(reach, survivalMap), detection, oneMinus(detection),
                           removal, oneMinus(removal)});
    }
    return factors;
}

Expression ReleaseRecaptureLikelihoodFunc::buildCellExpression(
    const CaptureHistory& history, const std::vector<Expression>& chi,
    const std::vector<ReachFactors>& factors, const ParameterMap& survivalMap,
    const Expression& lambda) const
{
    const int finalSite = static_cast<int>(chi.size());
    const int release = history.releaseSite();
    const int last = history.lastDetection();
    if (last == release)
        return chi[static_cast<std::size_t>(release)];
    if (release == finalSite - 1)
        return lambda;

    const int lastReach = last < finalSite ? last - 1 : finalSite - 2;
    Expression product = survivalExpression(release, survivalMap);
    for (int reach = release; reach <= lastReach; ++reach) {
        const ReachFactors& factor = factors[static_cast<std::size_t>(reach)];
        if (reach > release)
            product.append(times(factor.survival));
        const int site = reach + 1;
        if (history.isSeen(site)) {
            product.append(times(factor.detection));
            product.append(times(history.isRemovedAt(site) ? factor.removed : factor.kept));
        } else {
            product.append(times(factor.missed));
        }
    }
    if (last == finalSite)
        product.append(times(lambda));
    else if (!history.isRemoved())
        product.append(times(chi[static_cast<std::size_t>(last)]));
    return product;
}

void ReleaseRecaptureLikelihoodFunc::addCells(const std::vector<int>& releaseSizes,
                                              const std::vector<Expression>& chi,
                                              const ParameterMap& survivalMap,
                                              const ParameterMap& detectionMap, int lambdaIndex,
                                              const std::vector<double>& parameters)
{
    const int positionCount = static_cast<int>(chi.size());
    const std::vector<ReachFactors> factors =
        buildReachFactors(positionCount - 1, survivalMap, detectionMap);
    const Expression lambda = parameterExpression(lambdaIndex);
    for (std::size_t site = 0; site < releaseSizes.size(); ++site) {
        RRCaptureHistoryIncrementer histories(positionCount, static_cast<int>(site));
        while (histories.increment()) {
            cells.push_back(
                buildCellExpression(histories.history(), chi, factors, survivalMap, lambda));
            expectedCounts.push_back(releaseSizes[site] * cells.back().evaluate(parameters));
        }
    }
}
