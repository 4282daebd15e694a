#pragma once

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel::test {

// True when actual lies within rel * |expected| of expected. An expected value
// of exactly zero is compared absolutely against rel, so that covariances that
// vanish in theory can be checked with the same helper.
inline ::testing::AssertionResult relNear(double actual, double expected, double rel)
{
    const double scale = expected == 0.0 ? 1.0 : std::fabs(expected);
    const double diff = std::fabs(actual - expected);
    if (std::isfinite(actual) && diff <= rel * scale)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "actual " << actual << " differs from expected " << expected << " by " << diff / scale
           << " relative (allowed " << rel << ")";
}

} // namespace quorvel::test

#define EXPECT_REL_NEAR(actual, expected, rel)                                                     \
    EXPECT_TRUE(::quorvel::test::relNear((actual), (expected), (rel)))
#define ASSERT_REL_NEAR(actual, expected, rel)                                                     \
    ASSERT_TRUE(::quorvel::test::relNear((actual), (expected), (rel)))
