#include "studies/common/EffectTest.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The normal distribution function, written here from erfc on its own.
double phi(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

} // namespace

// St = 0.85 against 1 with SE 0.05: d = 3, two-sided z = 1.959964, so power =
// Φ(1.040036) + Φ(−4.959964) = 0.850838 + 3.5e-7; one-sided z = 1.644854
// gives Φ(1.355146) = 0.912323.
TEST(WaldPower, FollowsTheFormulaTwoAndOneSided)
{
    EXPECT_REL_NEAR(waldPower(0.85, 0.05, 1.0, 0.05, true),
                    phi(3 - 1.959963984540054) + phi(-3 - 1.959963984540054), 1e-12);
    EXPECT_REL_NEAR(waldPower(0.85, 0.05, 1.0, 0.05, true), 0.8508383, 1e-6);
    EXPECT_REL_NEAR(waldPower(0.85, 0.05, 1.0, 0.05, false), phi(3 - 1.644853626951472), 1e-12);
    // Symmetric in the direction of the effect.
    EXPECT_REL_NEAR(waldPower(1.15, 0.05, 1.0, 0.05, true), waldPower(0.85, 0.05, 1.0, 0.05, true),
                    1e-12);
    // alpha = 0.1 two-sided has the one-sided z of 0.05.
    EXPECT_REL_NEAR(waldPower(0.9, 0.04, 1.0, 0.1, true),
                    phi(2.5 - 1.644853626951472) + phi(-2.5 - 1.644853626951472), 1e-12);
}

// No effect: the level; the SE towards 0: 1; towards infinity: the level
// again; continuous at both ends. Nonsense gives NaN.
TEST(WaldPower, KeepsItsLimitsAtTheBoundsOfItsInputs)
{
    EXPECT_REL_NEAR(waldPower(1.0, 0.05, 1.0, 0.05, true), 0.05, 1e-12);
    EXPECT_REL_NEAR(waldPower(1.0, 0.05, 1.0, 0.05, false), 0.05, 1e-12);
    EXPECT_EQ(waldPower(0.9, 0.0, 1.0, 0.05, true), 1.0);
    EXPECT_REL_NEAR(waldPower(0.9, 1e-9, 1.0, 0.05, true), 1.0, 1e-15);
    EXPECT_EQ(waldPower(1.0, 0.0, 1.0, 0.05, true), 0.05);
    EXPECT_REL_NEAR(waldPower(0.9, 1e12, 1.0, 0.05, true), 0.05, 1e-9);
    EXPECT_TRUE(std::isnan(waldPower(0.9, -0.1, 1.0, 0.05, true)));
    EXPECT_TRUE(std::isnan(waldPower(0.9, 0.1, 1.0, 0.0, true)));
    EXPECT_TRUE(std::isnan(waldPower(0.9, 0.1, 1.0, 1.0, true)));
    EXPECT_TRUE(std::isnan(waldPower(0.9, 0.1, NAN, 0.05, true)));
    // Power rises as the SE falls.
    double previous = 0.0;
    for (double se = 0.2; se > 0.02; se /= 1.5) {
        const double power = waldPower(0.9, se, 1.0, 0.05, true);
        EXPECT_GT(power, previous) << se;
        previous = power;
    }
}

// Ratios default to 1; survivals have no null value until given; a common
// value covers every quantity without its own.
TEST(EffectTest, NullValuesDefaultForRatiosOnlyAndRefuseABadLevel)
{
    EffectTest test;
    EXPECT_EQ(test.nullValueOf("St"), 1.0);
    EXPECT_EQ(test.nullValueOf("T"), 1.0);
    EXPECT_EQ(test.nullValueOf("Sdam"), 1.0);
    EXPECT_FALSE(test.hasNullValue("S1"));
    EXPECT_TRUE(std::isnan(test.powerOf("S1", 0.8, 0.001)));
    test.nullValues.insert("S1", 0.9);
    EXPECT_REL_NEAR(test.powerOf("S1", 0.8, 0.0025), waldPower(0.8, 0.05, 0.9, 0.05, true), 1e-15);
    test.commonNull = 0.7;
    EXPECT_EQ(test.nullValueOf("S1"), 0.9);
    EXPECT_EQ(test.nullValueOf("T"), 0.7);
    EXPECT_TRUE(test.error().isNull());
    EXPECT_FALSE(test.isDefault());
    test.alpha = 1.0;
    EXPECT_TRUE(test.error().contains("between 0 and 1"));
    EXPECT_TRUE(EffectTest().isDefault());
}
