#include "studies/common/ReportTables.h"

#include <gtest/gtest.h>

#include <limits>

// A value that rounds to zero is "0", whatever its sign; every other keeps
// its decimals, its sign included.
TEST(ReportTables, NumbersRoundedToZeroReadZeroAndInputsReadAsTyped)
{
    EXPECT_EQ(reportNumber(-3e-12, 8), "0");
    EXPECT_EQ(reportNumber(4e-9, 8), "0");
    EXPECT_EQ(reportNumber(0.0, 8), "0");
    EXPECT_EQ(reportNumber(-0.0, 4), "0");
    EXPECT_EQ(reportNumber(-6e-9, 8), "-0.00000001");
    EXPECT_EQ(reportNumber(0.0515267, 6), "0.051527");
    EXPECT_EQ(reportNumber(-0.25, 2), "-0.25");
    EXPECT_EQ(reportNumber(1234.5, 0), "1235");
    EXPECT_EQ(reportNumber(std::numeric_limits<double>::quiet_NaN(), 3), "nan");

    EXPECT_EQ(inputNumber(0.8), "0.8");
    EXPECT_EQ(inputNumber(0.8 * 0.9), "0.72");
    EXPECT_EQ(inputNumber(1), "1");
    EXPECT_EQ(inputNumber(0.000123), "0.000123");
    EXPECT_EQ(inputNumber(0.123456789012), "0.123456789012");
}
