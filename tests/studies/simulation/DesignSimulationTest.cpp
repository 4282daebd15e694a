#include "studies/simulation/DesignSimulation.h"
#include "studies/design/DesignFile.h"
#include "studies/release_recapture/PairedReleaseRecord.h"
#include "studies/release_recapture/SingleReleaseRecord.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <stdexcept>

namespace {

Design designFrom(const QByteArray& json)
{
    Design design;
    QString error;
    EXPECT_TRUE(DesignFile::read(json, &design, &error)) << error.toStdString();
    return design;
}

SimulationCheck check(const Design& design, int dataSets, std::uint64_t seed, int threads = 2,
                      int point = 0)
{
    SimulationSettings settings;
    settings.dataSetCount = dataSets;
    settings.seed = seed;
    settings.threadCount = threads;
    return DesignSimulation::of(design)->check(point, settings);
}

// Every quantity: the mean estimate within three Monte Carlo errors of the
// true value, the spread over the predicted SE within three of 1, the 95%
// coverage within three of 95%, and the verdict that the precision holds.
void expectPrecisionHolds(const SimulationCheck& result)
{
    EXPECT_EQ(result.summary.failedFits, 0);
    ASSERT_EQ(result.summary.parameters.size(), static_cast<std::size_t>(result.quantities.size()));
    for (int q = 0; q < result.quantities.size(); ++q) {
        SCOPED_TRACE(result.quantities[q].toStdString());
        const ParameterSummary& p = result.summary.parameters[static_cast<std::size_t>(q)];
        EXPECT_LE(std::fabs(p.bias.value), 3.0 * p.bias.monteCarloError);
        EXPECT_LE(std::fabs(p.sdRatio.value - 1.0), 3.0 * p.sdRatio.monteCarloError);
        EXPECT_LE(std::fabs(p.coverage95.value - 0.95), 3.0 * p.coverage95.monteCarloError);
        EXPECT_EQ(result.verdicts[q].toStdString(), "the predicted precision holds");
    }
}

// 60 fish down two reaches of the given survival, detected with 0.3.
QByteArray smallSingleRelease(const QByteArray& survival)
{
    return R"({"design": "single", "reaches": 3, "inputs": {"R0": "60", "S1": ")" + survival +
           R"(", "P1": "0.3", "D1": "0", "R1": "0", "S2": ")" + survival +
           R"(", "P2": "0.3", "D2": "0", "R2": "0", "Lambda": "0.6"}})";
}

} // namespace

// T = (a_t/Rt)/(a_c/Rc) from 20,000 fish per group; the predicted variance is
// T²·[(1 − pc)/(Rc·pc) + (1 − pt)/(Rt·pt)] with pc the control and pt = pc·T
// the treatment return rate.
TEST(DesignSimulation, ClosedFormEstimatorsHoldTheirPrecisionAtLargeReleases)
{
    const auto predicted = [](double pc, double t, double rc, double rt) {
        const double pt = pc * t;
        return std::sqrt(t * t * ((1.0 - pc) / (rc * pc) + (1.0 - pt) / (rt * pt)));
    };
    {
        SCOPED_TRACE("balloon-tag");
        const SimulationCheck result = check(designFrom(R"({"design": "btps",
            "switches": {"useSt": false}, "inputs": {"Rc": "20000", "Rt": "20000", "Sc": "0.8",
            "T": "0.9", "Pa": "0.5", "Pd": "0.3"}})"),
                                             2000, 17);
        EXPECT_EQ(result.quantities, QStringList{QStringLiteral("T")});
        EXPECT_REL_NEAR(result.trueValues[0], 0.9, 1e-15);
        EXPECT_REL_NEAR(result.results.predictedStandardErrors[0],
                        predicted(0.4, 0.9, 20000, 20000), 1e-12);
        expectPrecisionHolds(result);
    }
    {
        SCOPED_TRACE("transport");
        const SimulationCheck result = check(designFrom(R"({"design": "tirr",
            "switches": {"useTheta": true, "linkReleases": false}, "inputs": {"Rc": "20000",
            "Rt": "30000", "Sc*P": "0.05", "T": "1.6"}})"),
                                             2000, 18);
        EXPECT_REL_NEAR(result.results.predictedStandardErrors[0],
                        predicted(0.05, 1.6, 20000, 30000), 1e-12);
        expectPrecisionHolds(result);
    }
}

// Sdam = S1·S3/S2 from three releases of 20,000 fish: S1 = Sdam·S'11,
// S2 = S'11·S12, S3 = S12.
TEST(DesignSimulation, VirtualReleaseCombinesThreeFittedReleasesIntoSdam)
{
    const SimulationCheck result = check(designFrom(R"({"design": "vwp",
        "switches": {"linkAllReleases": true}, "inputs": {"V1": "20000", "SDam": "0.9",
        "SPrime11": "0.95", "S12": "0.9", "P1": "0.7", "P2": "0.6", "Lambda": "0.5"}})"),
                                         1000, 19);
    EXPECT_EQ(result.quantities, (QStringList{QStringLiteral("Sdam"), QStringLiteral("S1"),
                                              QStringLiteral("S2"), QStringLiteral("S3")}));
    const std::vector<double> expected = {0.9, 0.9 * 0.95, 0.95 * 0.9, 0.9};
    for (std::size_t q = 0; q < expected.size(); ++q)
        EXPECT_REL_NEAR(result.trueValues[q], expected[q], 1e-15);
    expectPrecisionHolds(result);
}

// The single and paired releases show the parameters of their reports, at
// the chosen point of the range, and the numbers depend on the seed alone.
TEST(DesignSimulation, ReleaseDesignsShowTheReportsParametersWhateverTheThreads)
{
    const Design single = designFrom(R"({"design": "single", "reaches": 3, "inputs": {
        "R0": "1000:5000", "S1": "0.85", "P1": "0.6", "D1": "0.2", "R1": "100", "S2": "0.9",
        "P2": "0.7", "D2": "0", "R2": "0", "Lambda": "0.55"}})");
    const Design paired = designFrom(R"({"design": "paired", "reaches": 2, "inputs": {"RT": "1000",
        "ST": "0.85", "RC": "1500", "SC": "0.92", "P1": "0.6", "D1": "0.2", "S2": "0.9",
        "P2": "0.7", "D2": "0.1", "Lambda": "0.5"}})");
    for (const Design& design : {single, paired}) {
        const auto simulation = DesignSimulation::of(design);
        const int point = design.kind == Design::SingleRelease ? 2 : 0;
        const SimulationCheck one = check(design, 40, 2024, 1, point);
        const SimulationCheck four = check(design, 40, 2024, 4, point);
        ASSERT_EQ(one.results.fits.size(), 40u);
        ASSERT_EQ(four.results.fits.size(), 40u);
        for (std::size_t i = 0; i < 40; ++i) {
            EXPECT_EQ(one.results.fits[i].estimates, four.results.fits[i].estimates);
            EXPECT_EQ(one.results.fits[i].standardErrors, four.results.fits[i].standardErrors);
        }
        EXPECT_EQ(one.verdicts, four.verdicts);
        EXPECT_NE(check(design, 1, 2025, 1, point).results.fits[0].estimates,
                  one.results.fits[0].estimates);

        const QStringList names = design.kind == Design::SingleRelease
                                      ? singleReleaseParameterNames(design.inputs)
                                      : pairedReleaseParameterNames(design.inputs);
        EXPECT_EQ(one.quantities, names);
        EXPECT_EQ(one.point, point);
        if (design.kind == Design::PairedRelease) {
            EXPECT_EQ(one.quantities.mid(0, 2),
                      (QStringList{QStringLiteral("Sc"), QStringLiteral("St")}));
            EXPECT_REL_NEAR(one.trueValues[0], 0.92, 1e-15);
            EXPECT_REL_NEAR(one.trueValues[1], 0.85, 1e-15);
            continue;
        }
        EXPECT_EQ(simulation->rangeName(), QStringLiteral("R0"));
        EXPECT_EQ(simulation->pointCount(), design.inputs.numPoints());
        EXPECT_REL_NEAR(one.x, 1200.0, 1e-15);
        // The true values are the inputs of the same name, the last one
        // lambda ("Final").
        for (int q = 0; q < names.size(); ++q) {
            const QString key = q + 1 < names.size() ? names[q] : QStringLiteral("Lambda");
            EXPECT_REL_NEAR(one.trueValues[static_cast<std::size_t>(q)],
                            design.inputs.valueAt(key, point), 1e-15)
                << names[q].toStdString();
        }
    }
}

// The second site sees every fish that reaches it, so P2 is known and the
// others' precision is its limit towards 1; the fits agree with it, and the
// verdicts say so: a known P2 puts no fit on a bound.
TEST(DesignSimulation, DetectionOfOneAgreesWithTheLimitOfThePrediction)
{
    const Design design = designFrom(R"({"design": "single", "reaches": 4, "inputs": {
        "R0": "1000", "S1": "0.85", "P1": "0.6", "D1": "0.2", "R1": "0", "S2": "0.9",
        "P2": "1", "D2": "0.5", "R2": "0", "S3": "0.8", "P3": "0.5", "D3": "0.1", "R3": "0",
        "Lambda": "0.55"}})");
    const SimulationCheck result = check(design, 1000, 5);
    EXPECT_EQ(result.summary.failedFits, 0);
    EXPECT_EQ(result.summary.boundaryFits, 0);
    for (int q = 0; q < result.quantities.size(); ++q) {
        SCOPED_TRACE(result.quantities[q].toStdString());
        const ParameterSummary& p = result.summary.parameters[static_cast<std::size_t>(q)];
        if (result.quantities[q] == QStringLiteral("P2")) {
            EXPECT_EQ(p.predictedStandardError, 0.0);
            EXPECT_EQ(p.empiricalSd.value, 0.0);
            EXPECT_EQ(result.verdicts[q], "known exactly, as predicted: every fit gives 1");
            continue;
        }
        EXPECT_LE(std::fabs(p.sdRatio.value - 1.0), 3.5 * p.sdRatio.monteCarloError);
        EXPECT_FALSE(result.verdicts[q].startsWith("not judged"))
            << result.verdicts[q].toStdString();
    }
}

// 60 fish, detected with 0.3: survivals of 0.4 spread wider than predicted,
// while survivals of 0.9 pile up at 1 and spread less.
TEST(DesignSimulation, SmallPoorlyDetectedReleaseIsJudgedInBothDirections)
{
    const SimulationCheck low = check(designFrom(smallSingleRelease("0.4")), 1000, 11);
    EXPECT_GT(low.summary.boundaryFits, 100);
    EXPECT_TRUE(low.verdicts[0].contains(QStringLiteral("is optimistic at this release size")))
        << low.verdicts[0].toStdString();

    const SimulationCheck high = check(designFrom(smallSingleRelease("0.9")), 1000, 11);
    EXPECT_TRUE(high.verdicts[0].startsWith(QStringLiteral("the estimates spread 0.")))
        << high.verdicts[0].toStdString();
    EXPECT_TRUE(high.verdicts[0].contains(QStringLiteral("it is pessimistic at this release size")))
        << high.verdicts[0].toStdString();
}

TEST(DesignSimulation, RefusesPointsOutsideTheRangeAndStopsWhenCanceled)
{
    const Design design = designFrom(smallSingleRelease("0.4"));
    EXPECT_THROW(check(design, 10, 1, 1, 1), std::invalid_argument);
    EXPECT_THROW(check(design, 10, 1, 1, -1), std::invalid_argument);

    const std::atomic<bool> cancel{true};
    SimulationSettings settings;
    settings.cancelFlag = &cancel;
    const SimulationCheck canceled = DesignSimulation::of(design)->check(0, settings);
    EXPECT_TRUE(canceled.canceled());
    EXPECT_TRUE(canceled.summary.parameters.empty());
    EXPECT_TRUE(canceled.verdicts.isEmpty());
}
