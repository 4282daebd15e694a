#include "engine/simulation/ReleaseFit.h"
#include "engine/simulation/FishSimulation.h"

#include "SimulationDesigns.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel::test;

namespace {

std::vector<SegmentCounts> expectedCounts(const ReleaseDesign& design)
{
    std::vector<SegmentCounts> counts;
    for (const ReleaseChain& chain : design.chains)
        counts.push_back(expectedSegmentCounts(chain, design.trueValues));
    return counts;
}

// Fitted from a start halfway to 0.5 (and St from 1), the expected counts
// give back the true values, and the covariance of the fit is that of the
// exact information at the true values.
void expectTrueValuesFromExpectedCounts(const ReleaseDesign& design, const Matrix& predicted)
{
    std::vector<double> start;
    for (double value : design.trueValues)
        start.push_back(0.5 * (value + 0.5));
    for (const ReleaseChain& chain : design.chains)
        if (chain.firstSurvivalFactorIndex >= 0)
            start[chain.firstSurvivalFactorIndex] = 1.0;

    const ReleaseFit fit = fitReleaseChains(design.chains, expectedCounts(design), start);
    EXPECT_TRUE(fit.converged);
    EXPECT_FALSE(fit.onBoundary);
    EXPECT_GT(fit.iterations, 1);
    ASSERT_EQ(fit.estimates.size(), design.trueValues.size());
    for (std::size_t i = 0; i < design.trueValues.size(); ++i)
        EXPECT_REL_NEAR(fit.estimates[i], design.trueValues[i], 1e-8) << "parameter " << i;
    ASSERT_EQ(fit.covariance.rows(), predicted.rows());
    for (int i = 0; i < predicted.rows(); ++i)
        EXPECT_REL_NEAR(fit.covariance(i, i), predicted(i, i), 1e-6) << "variance " << i;
}

} // namespace

TEST(ReleaseFit, ExpectedCountsGiveTheTrueValues)
{
    {
        SCOPED_TRACE("single release");
        const SingleCase c = singleWithRemovals();
        SingleReleaseInformation information(c.survivalLabels, c.detectionLabels);
        std::vector<double> parameters;
        information.setCase(c.removals, parameters, c.releaseSizes, c.survivalValues,
                            c.detectionValues, c.lambda);
        Matrix predicted;
        information.computeCovariance(predicted);
        expectTrueValuesFromExpectedCounts(designOf(c), predicted);
    }
    {
        SCOPED_TRACE("paired release");
        const PairedCase c = pairedWithRemovals();
        PairedReleaseInformation information(c.survivalLabels, c.detectionLabels);
        std::vector<double> parameters;
        information.setCase(c.st, c.sc, c.removals, parameters, c.controlRelease,
                            c.treatmentRelease, c.survivalValues, c.detectionValues, c.lambda);
        Matrix predicted;
        information.computeCovariance(predicted);
        expectTrueValuesFromExpectedCounts(designOf(c), predicted);
    }
}

// Where no fish passed site 2 unseen, the likelihood rises all the way to a
// detection of 1: the fit stops there and says so.
TEST(ReleaseFit, EstimateOnABoundIsFlagged)
{
    const ReleaseDesign design = designOf(singleWithRemovals());
    std::vector<SegmentCounts> counts;
    for (const ReleaseChain& chain : design.chains)
        counts.push_back(expectedSegmentCounts(chain, design.trueValues));
    SegmentCounts& data = counts.front();
    for (int start : {0, 1}) {
        for (int b = 3; b <= data.finalSite(); ++b) {
            data.detectedAt(start, 2) += data.detectedAt(start, b);
            data.detectedAt(start, b) = 0.0;
        }
    }
    const ReleaseFit fit = fitReleaseChains(design.chains, counts, design.trueValues);
    EXPECT_TRUE(fit.converged);
    EXPECT_TRUE(fit.onBoundary);
    const int secondDetection = design.chains.front().detectionIndices[1];
    EXPECT_EQ(fit.estimates[secondDetection], 1.0);
}

// The counts of many data sets average to the expected counts, for a chain
// with releases and removals at several sites and for the treatment chain,
// whose first survival is Sc * St.
TEST(FishSimulation, MeanCountsAreTheExpectedCounts)
{
    const int dataSets = 2000;
    SingleCase single = singleWithRemovals();
    single.releaseSizes = {200, 0, 50, 30, 10};
    PairedCase paired = pairedWithRemovals();
    paired.controlRelease = paired.treatmentRelease = 150;
    const ReleaseDesign designs[] = {designOf(single), designOf(paired)};
    for (const ReleaseDesign& design : designs) {
        const ReleaseChain& chain = design.chains.back();
        const SegmentCounts expected = expectedSegmentCounts(chain, design.trueValues);
        const std::size_t cells = expected.detected.size() + expected.neverSeen.size();
        std::vector<double> sum(cells, 0.0), sumOfSquares(cells, 0.0);
        for (int i = 0; i < dataSets; ++i) {
            SimulationStream stream = simulationStream(7, static_cast<std::uint64_t>(i));
            const SegmentCounts data = simulateSegmentCounts(chain, design.trueValues, stream);
            std::vector<double> values = data.detected;
            values.insert(values.end(), data.neverSeen.begin(), data.neverSeen.end());
            for (std::size_t k = 0; k < cells; ++k) {
                sum[k] += values[k];
                sumOfSquares[k] += values[k] * values[k];
            }
        }
        std::vector<double> expectedValues = expected.detected;
        expectedValues.insert(expectedValues.end(), expected.neverSeen.begin(),
                              expected.neverSeen.end());
        for (std::size_t k = 0; k < cells; ++k) {
            const double mean = sum[k] / dataSets;
            const double sd = std::sqrt(std::max(0.0, sumOfSquares[k] / dataSets - mean * mean));
            EXPECT_LE(std::fabs(mean - expectedValues[k]), 4.0 * sd / std::sqrt(dataSets) + 1e-12)
                << "cell " << k << ": mean " << mean << ", expected " << expectedValues[k];
        }
    }
}
