#include "studies/simulation/SimulationVerdict.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

ParameterSummary quantity(MonteCarloFigure ratio, MonteCarloFigure coverage90,
                          MonteCarloFigure coverage95)
{
    ParameterSummary p{};
    p.trueValue = 0.8;
    p.predictedStandardError = 0.05;
    p.sdRatio = ratio;
    p.coverage90 = coverage90;
    p.coverage95 = coverage95;
    return p;
}

std::string verdict(const ParameterSummary& p)
{
    return precisionVerdict(p).toStdString();
}

} // namespace

TEST(SimulationVerdict, HoldsWithinThreeMonteCarloErrorsAndSaysWhatDiffersOtherwise)
{
    EXPECT_EQ(verdict(quantity({1.05, 0.02}, {0.88, 0.01}, {0.93, 0.007})),
              "the predicted precision holds");

    EXPECT_EQ(verdict(quantity({1.0, 0.02}, {0.85, 0.01}, {0.88, 0.01})),
              "95% intervals cover 88%: the predicted half-width is optimistic at this release "
              "size");
    EXPECT_EQ(verdict(quantity({1.3, 0.05}, {0.84, 0.01}, {0.95, 0.007})),
              "the estimates spread 1.30 times the predicted SE: it is optimistic at this release "
              "size; 90% intervals cover 84%: the predicted half-width is optimistic at this "
              "release size");

    EXPECT_EQ(verdict(quantity({0.62, 0.02}, {0.97, 0.005}, {0.999, 0.0003})),
              "the estimates spread 0.62 times the predicted SE: it is pessimistic at this release "
              "size; 95% intervals cover 99.9%: the predicted half-width is pessimistic at this "
              "release size");
}

TEST(SimulationVerdict, SaysWhenThereIsNothingToCompare)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ParameterSummary noPrediction = quantity({nan, nan}, {0.9, 0.01}, {0.95, 0.01});
    noPrediction.predictedStandardError = nan;
    EXPECT_EQ(verdict(noPrediction),
              "no predicted precision to compare: the design's information cannot be inverted");
    EXPECT_EQ(verdict(quantity({nan, nan}, {nan, nan}, {nan, nan})),
              "too few fits to judge the predicted precision");
}
