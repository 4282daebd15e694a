#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace quorvel::test {

// The characters a range field lets in.
inline const QString numberCharacters = QStringLiteral("0123456789.:");

inline QString randomText(std::mt19937& rng, const QString& alphabet, int maxLength)
{
    QString text;
    for (int n = std::uniform_int_distribution<int>(0, maxLength)(rng); n > 0; --n)
        text += alphabet[std::uniform_int_distribution<int>(0, alphabet.size() - 1)(rng)];
    return text;
}

// No range has more than maxPoints points; they start at start, end at end
// and, when start <= end, lie between them. Range is a RangeArithmetic or a
// form's RangeSpec.
template <class Range> void expectPointsInsideRange(const Range& range, const std::string& context)
{
    const QList<double> points = range.points();
    ASSERT_LE(range.numPoints(), range.maxPoints()) << context;
    ASSERT_EQ(points.size(), std::max(range.numPoints(), 0)) << context;
    if (points.isEmpty())
        return;
    EXPECT_EQ(points.first(), range.start()) << context;
    EXPECT_TRUE(points.size() == 1 || points.last() == range.end()) << context;
    const double slack = 1e-12 * std::max(std::fabs(range.start()), std::fabs(range.end()));
    for (double p : points)
        EXPECT_TRUE(range.start() > range.end() ||
                    (p >= range.start() - slack && p <= range.end() + slack))
            << context << ": point " << p;
}

} // namespace quorvel::test
