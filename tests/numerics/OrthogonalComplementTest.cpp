#include "numerics/OrthogonalComplement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

double dot(const std::vector<double>& a, const std::vector<double>& b)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += a[i] * b[i];
    return sum;
}

} // namespace

// Directions of 7 coordinates: e_1, and (0, 0, 3, 4, 0, 0, 0) with a copy
// that adds nothing. Their span holds e_1 alone among the unit vectors; the
// complement has 5 orthonormal vectors orthogonal to both directions, and the
// unit vectors of the coordinates no direction touches are kept exactly.
TEST(OrthogonalComplement, SplitsIntoSpanAndOrthonormalComplement)
{
    const std::vector<double> unit = {0, 1, 0, 0, 0, 0, 0};
    const std::vector<double> slanted = {0, 0, 3, 4, 0, 0, 0};
    const OrthogonalSplit split = orthogonalSplit({unit, slanted, slanted, {}}, 7);

    EXPECT_EQ(split.inSpan, std::vector<bool>({false, true, false, false, false, false, false}));
    ASSERT_EQ(split.complement.size(), 5u);
    for (std::size_t a = 0; a < split.complement.size(); ++a) {
        const std::vector<double>& q = split.complement[a];
        ASSERT_EQ(q.size(), 7u);
        EXPECT_NEAR(dot(q, unit), 0.0, 1e-15);
        EXPECT_NEAR(dot(q, slanted), 0.0, 1e-14);
        for (std::size_t b = 0; b < split.complement.size(); ++b)
            EXPECT_NEAR(dot(q, split.complement[b]), a == b ? 1.0 : 0.0, 1e-15);
    }
    // e_0, then what is left of e_2 (along (0, 0, 4, -3) / 5), then e_4 .. e_6.
    EXPECT_EQ(split.complement[0], std::vector<double>({1, 0, 0, 0, 0, 0, 0}));
    EXPECT_NEAR(split.complement[1][2], 0.8, 1e-15);
    EXPECT_NEAR(split.complement[1][3], -0.6, 1e-15);
    for (int k = 4; k < 7; ++k) {
        std::vector<double> e(7, 0.0);
        e[static_cast<std::size_t>(k)] = 1.0;
        EXPECT_EQ(split.complement[static_cast<std::size_t>(k - 2)], e);
    }
}
