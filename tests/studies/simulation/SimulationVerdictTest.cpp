#include "studies/simulation/SimulationVerdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The Monte Carlo error of a coverage over n fits at its nominal level p0.
MonteCarloFigure coverage(double share, double nominal, int n)
{
    return {share, std::sqrt(nominal * (1 - nominal) / n)};
}

// One quantity checked with n data sets, all converged with standard errors.
SimulationSummary checked(MonteCarloFigure ratio, double coverage90, double coverage95, int n)
{
    ParameterSummary p{};
    p.trueValue = 0.8;
    p.predictedStandardError = 0.05;
    p.sdRatio = ratio;
    p.coverage90 = coverage(coverage90, 0.90, n);
    p.coverage95 = coverage(coverage95, 0.95, n);
    p.coverageCount = n;
    SimulationSummary summary;
    summary.dataSetCount = n;
    summary.parameters = {p};
    return summary;
}

std::string verdict(const SimulationSummary& summary)
{
    return precisionVerdict(summary, 0).toStdString();
}

} // namespace

TEST(SimulationVerdict, HoldsWithinThreeMonteCarloErrorsAndSaysWhatDiffersOtherwise)
{
    EXPECT_EQ(verdict(checked({1.05, 0.02}, 0.88, 0.93, 1000)), "the predicted precision holds");

    EXPECT_EQ(verdict(checked({1.0, 0.02}, 0.85, 0.88, 1000)),
              "95% intervals cover 88%: the predicted half-width is optimistic at this release "
              "size");
    EXPECT_EQ(verdict(checked({1.3, 0.05}, 0.84, 0.95, 1000)),
              "the estimates spread 1.30 times the predicted SE: it is optimistic at this release "
              "size; 90% intervals cover 84%: the predicted half-width is optimistic at this "
              "release size");
    EXPECT_EQ(verdict(checked({0.62, 0.02}, 0.97, 0.999, 1000)),
              "the estimates spread 0.62 times the predicted SE: it is pessimistic at this release "
              "size; 95% intervals cover 99.9%: the predicted half-width is pessimistic at this "
              "release size");
}

// With 20 data sets a coverage of 100% is what a holding prediction shows
// 36% of the time (0.95^20), and 15 of 20 or fewer 0.26%: judged as binomial
// counts, 20 and 15 of 20 hold while 14 (a chance of 0.03%) is optimistic.
// A spread of 0.6 times the SE with an error of 0.15 lies 1.6 errors of a
// holding prediction (0.15 / 0.6) from 1; one of 0.03 is not trusted below
// the error of an SD of 20 normal estimates, 0.16 (2.5 errors), but is at
// 200 fits, 0.05 (8 errors).
TEST(SimulationVerdict, FewFitsAreJudgedByWhatAHoldingPredictionWouldShow)
{
    EXPECT_EQ(verdict(checked({1.0, 0.15}, 1.0, 1.0, 20)), "the predicted precision holds");
    EXPECT_EQ(verdict(checked({1.0, 0.15}, 0.8, 0.75, 20)), "the predicted precision holds");
    EXPECT_EQ(verdict(checked({1.0, 0.15}, 0.7, 0.7, 20)),
              "95% intervals cover 70%: the predicted half-width is optimistic at this release "
              "size");
    EXPECT_EQ(verdict(checked({0.6, 0.15}, 0.9, 0.95, 20)), "the predicted precision holds");
    EXPECT_EQ(verdict(checked({0.6, 0.03}, 0.9, 0.95, 20)), "the predicted precision holds");
    EXPECT_EQ(verdict(checked({0.6, 0.03}, 0.9, 0.95, 200)),
              "the estimates spread 0.60 times the predicted SE: it is pessimistic at this "
              "release size");
}

// Fits that say little are named: most on a bound (three in four), and
// nothing is judged though their spread is given; many without standard
// errors, and the coverages are not judged but the spread is; many failed.
TEST(SimulationVerdict, NamesBoundedFailedAndUnmeasuredFitsWhenTheyMatter)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SimulationSummary bounded = checked({0.99, 0.03}, nan, nan, 1000);
    bounded.boundaryFits = 848;
    bounded.fitsWithoutStandardErrors = 1000;
    EXPECT_EQ(verdict(bounded), "not judged: 85% of the fits sit on a bound (the estimates "
                                "spread 0.99 times the predicted SE)");

    // No fit has standard errors, few sit on a bound: the spread is judged.
    SimulationSummary noErrors = bounded;
    noErrors.boundaryFits = 100;
    EXPECT_EQ(verdict(noErrors), "the predicted precision holds; 10% of the fits sit on a bound; "
                                 "coverages not judged: 100.0% of the fits have no standard "
                                 "errors");
    noErrors.boundaryFits = 760;
    EXPECT_EQ(verdict(noErrors), "not judged: 76% of the fits sit on a bound (the estimates "
                                 "spread 0.99 times the predicted SE)");

    SimulationSummary someErrors = checked({1.0, 0.03}, 0.9, 0.937, 2000);
    someErrors.failedFits = 7;
    someErrors.fitsWithoutStandardErrors = 205;
    EXPECT_EQ(verdict(someErrors), "the predicted precision holds; coverages not judged: 10% of "
                                   "the fits have no standard errors");

    SimulationSummary failing = checked({1.0, 0.03}, 0.9, 0.95, 1000);
    failing.failedFits = 120;
    EXPECT_EQ(verdict(failing),
              "the predicted precision holds; 12% of the fits failed and are left out");
    failing.failedFits = 20;
    EXPECT_EQ(verdict(failing), "the predicted precision holds");
}

TEST(SimulationVerdict, SaysWhenThereIsNothingToCompare)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    SimulationSummary noPrediction = checked({nan, nan}, 0.9, 0.95, 100);
    noPrediction.parameters[0].predictedStandardError = nan;
    EXPECT_EQ(verdict(noPrediction),
              "no predicted precision to compare: the design's information cannot be inverted");
    SimulationSummary oneFit = checked({nan, nan}, nan, nan, 1);
    EXPECT_EQ(verdict(oneFit), "too few fits to judge the predicted precision");
}
