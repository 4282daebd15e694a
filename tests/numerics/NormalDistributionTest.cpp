#include "numerics/NormalDistribution.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

// Values of the standard normal from its tables (to 16 digits): Φ(1.96) =
// 0.9750021048517795, z(0.975) = 1.959963984540054, z(0.95) =
// 1.644853626951472, z(1e-10) = -6.361340902404056.
TEST(NormalDistribution, CdfAndQuantileMatchTabulatedValuesAndInvertEachOther)
{
    EXPECT_REL_NEAR(normalCdf(1.96), 0.9750021048517795, 1e-14);
    EXPECT_REL_NEAR(normalCdf(-1.96), 1 - 0.9750021048517795, 1e-12);
    EXPECT_EQ(normalCdf(0.0), 0.5);
    EXPECT_REL_NEAR(normalQuantile(0.975), 1.959963984540054, 1e-14);
    EXPECT_REL_NEAR(normalQuantile(0.95), 1.644853626951472, 1e-14);
    EXPECT_REL_NEAR(normalQuantile(1e-10), -6.361340902404056, 1e-13);
    EXPECT_EQ(normalQuantile(0.5), 0.0);
    for (double p : {1e-300, 1e-20, 0.001, 0.2, 0.4999, 0.5001, 0.8, 0.999, 1 - 1e-12}) {
        EXPECT_REL_NEAR(normalCdf(normalQuantile(p)), p, 1e-11) << p;
        EXPECT_REL_NEAR(normalQuantile(p), -normalQuantile(1 - p), 1e-6) << p;
    }
}

TEST(NormalDistribution, BoundsGiveInfinitiesAndOutsideValuesGiveNaN)
{
    EXPECT_EQ(normalQuantile(0.0), -INFINITY);
    EXPECT_EQ(normalQuantile(1.0), INFINITY);
    EXPECT_TRUE(std::isnan(normalQuantile(-0.1)));
    EXPECT_TRUE(std::isnan(normalQuantile(1.1)));
    EXPECT_TRUE(std::isnan(normalQuantile(NAN)));
    EXPECT_EQ(normalCdf(-INFINITY), 0.0);
    EXPECT_EQ(normalCdf(INFINITY), 1.0);
    EXPECT_TRUE(std::isnan(normalCdf(NAN)));
}
