#include "forms/core/RangeArithmetic.h"

#include "RangePoints.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

using namespace quorvel::test;

namespace {

// The points of a range text read as a field of the given type reads it.
QList<double> pointsOf(const char* text, RangeArithmetic::EditType type = RangeArithmetic::Integer)
{
    double start = 0.0;
    double end = 0.0;
    EXPECT_TRUE(RangeArithmetic::parse(QString::fromLatin1(text), &start, &end)) << text;
    return RangeArithmetic(start, end, type).points();
}

} // namespace

TEST(RangeArithmetic, IntegerRangeDividesPointCountByTen)
{
    EXPECT_EQ(pointsOf("10:20"), (QList<double>{10, 11, 12, 13, 14, 15, 16, 17, 18, 20}));
    const QList<double> sizes = pointsOf("100:1000"); // 900 -> 90 points, step 10
    ASSERT_EQ(sizes.size(), 90);
    for (int k = 0; k < 89; ++k)
        EXPECT_EQ(sizes[k], 100 + 10 * k);
    EXPECT_EQ(sizes.last(), 1000);
    const QList<double> large = pointsOf("0:5000"); // 5000 -> 500 -> 50, step 100
    ASSERT_EQ(large.size(), 50);
    EXPECT_EQ(large[48], 4800);
    EXPECT_EQ(large[49], 5000);
    EXPECT_EQ(pointsOf("0:100").size(), 100);            // a span of maxPoints is not thinned
    const QList<double> fractional = pointsOf("1:11.6"); // span 10.6 -> 10 points
    ASSERT_EQ(fractional.size(), 10);
    EXPECT_REL_NEAR(fractional[1], 2.06, 1e-12);
    EXPECT_EQ(fractional.last(), 11.6);
    EXPECT_EQ(pointsOf("1:3000000000").size(), 29); // 2999999999 loses eight digits
    EXPECT_TRUE(pointsOf("20:10").isEmpty());
    EXPECT_TRUE(pointsOf("500:500").isEmpty());
}

TEST(RangeArithmetic, RealRangeHasMaxPointsAndEndsOneLongerStepOn)
{
    // Step (0.9 - 0.5) / 5 = 0.08; the fifth point is the end itself.
    const QList<double> points = RangeArithmetic(0.5, 0.9, RangeArithmetic::Real, 5).points();
    ASSERT_EQ(points.size(), 5);
    const double expected[] = {0.5, 0.58, 0.66, 0.74, 0.9};
    for (int i = 0; i < 5; ++i)
        EXPECT_REL_NEAR(points[i], expected[i], 1e-15) << i;
    EXPECT_EQ(points.last(), 0.9);
    EXPECT_EQ(pointsOf("0.9:0.5", RangeArithmetic::Real).size(), 100);
    EXPECT_EQ(RangeArithmetic(0.5, 0.9, RangeArithmetic::Real).toString('f', 2), "0.50:0.90");
}

TEST(RangeArithmetic, ParseSplitsAtTheOneColon)
{
    double start = -1.0;
    double end = -1.0;
    EXPECT_TRUE(RangeArithmetic::parse(QStringLiteral("5:"), &start, &end));
    EXPECT_EQ(start, 5.0);
    EXPECT_EQ(end, 0.0);
    for (const char* refused : {"7", "1:2:3", ""}) {
        start = end = -1.0;
        EXPECT_FALSE(RangeArithmetic::parse(QString::fromLatin1(refused), &start, &end));
        EXPECT_EQ(start, -1.0) << refused;
        EXPECT_EQ(end, -1.0) << refused;
    }
}

TEST(RangeArithmetic, RandomTextsYieldPointsInsideTheRange)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 20000; ++trial) {
        const QString text = randomText(rng, trial % 10 ? numberCharacters : "9:", 24);
        double start = 0.0;
        double end = 0.0;
        if (!RangeArithmetic::parse(text, &start, &end))
            continue;
        const auto type = trial % 2 ? RangeArithmetic::Integer : RangeArithmetic::Real;
        expectPointsInsideRange(RangeArithmetic(start, end, type), text.toStdString());
        if (::testing::Test::HasFailure())
            return;
    }
}
