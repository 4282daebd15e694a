#include "numerics/LUdcmp.h"
#include "numerics/NRError.h"

#include "MatrixBuilder.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using NR3::LUdcmp;
using NR3::Matrix;

namespace {

std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const NR3::NRError& error) {
        return error.what();
    }
    return "nothing thrown";
}

} // namespace

TEST(LUdcmp, InverseOfDiagonalMatrixIsElementwiseReciprocal)
{
    const Matrix a = makeMatrix(3, 3, {2, 0, 0, 0, -4, 0, 0, 0, 0.5});
    Matrix inverse;
    LUdcmp(a).inverse(inverse);
    ASSERT_EQ(inverse.nrows(), 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_DOUBLE_EQ(inverse[i][j], i == j ? 1.0 / a[i][i] : 0.0);
}

TEST(LUdcmp, PivotingSwapsRowsAndFlipsParity)
{
    // A zero in the first pivot position forces a swap.
    const LUdcmp swapped(makeMatrix(2, 2, {0, 1, 1, 0}));
    EXPECT_EQ(swapped.d(), -1.0);
    EXPECT_EQ(swapped.indx()[0], 1);
    Matrix inverse;
    swapped.inverse(inverse);
    EXPECT_DOUBLE_EQ(inverse[0][1], 1.0);
    EXPECT_DOUBLE_EQ(inverse[1][0], 1.0);
    EXPECT_DOUBLE_EQ(inverse[0][0], 0.0);

    // Implicit pivoting compares rows as if scaled to a largest element of 1:
    // row 0 (1, 1e6) weighs 1e-6 in column 0, row 1 (1, 1) weighs 1, so row 1
    // is chosen although plain partial pivoting would keep row 0.
    const LUdcmp scaled(makeMatrix(2, 2, {1, 1e6, 1, 1}));
    EXPECT_EQ(scaled.indx()[0], 1);
    EXPECT_EQ(scaled.d(), -1.0);

    const LUdcmp unchanged(makeMatrix(2, 2, {3, 1, 1, 2}));
    EXPECT_EQ(unchanged.d(), 1.0);

    // A row's scale moves with it. Step 0 takes row 2 (1, 0, 1) and moves row
    // 0 (1, 2, 1000), scale 1e-3, to position 2, where it becomes (0, 2,
    // 999). In column 1 it weighs 2e-3 against row 1 (0, 1, 1) at 1, so step
    // 1 keeps row 1; row 2's scale of 1 left behind would weigh 2 and swap.
    const LUdcmp moved(makeMatrix(3, 3, {1, 2, 1000, 0, 1, 1, 1, 0, 1}));
    EXPECT_EQ(moved.indx(), (std::vector<int>{2, 1, 2}));
    EXPECT_EQ(moved.d(), -1.0);
}

TEST(LUdcmp, SingularMatricesAreRefusedOrGetTinyPivot)
{
    EXPECT_EQ(messageOf([] {
                  LUdcmp(makeMatrix(2, 2, {1, 2, 0, 0}));
              }),
              "Singular matrix in LUdcmp");

    // Rows of equal scaled weight keep the first; elimination leaves an
    // exact zero in the last pivot, replaced by 1e-40.
    const LUdcmp singular(makeMatrix(2, 2, {1, 2, 2, 4}));
    EXPECT_EQ(singular.d(), 1.0);
    EXPECT_DOUBLE_EQ(singular.lu()[1][0], 2.0);
    EXPECT_EQ(singular.lu()[1][1], 1e-40);
}

TEST(LUdcmp, SolvesVectorAndMatrixFormsInPlace)
{
    // x = (1, −2, 3) gives b = A·x worked out by hand.
    const Matrix a = makeMatrix(3, 3, {2, 1, 1, 4, -6, 0, -2, 7, 2});
    const LUdcmp lu(a);
    std::vector<double> b = {2 - 2 + 3, 4 + 12, -2 - 14 + 6};
    lu.solve(b, b);
    EXPECT_REL_NEAR(b[0], 1.0, 1e-14);
    EXPECT_REL_NEAR(b[1], -2.0, 1e-14);
    EXPECT_REL_NEAR(b[2], 3.0, 1e-14);

    // A right-hand side with leading zeros exercises the skipped sums.
    Matrix columns = makeMatrix(3, 2, {0, 2 - 2 + 3, 0, 4 + 12, 1, -2 - 14 + 6});
    lu.solve(columns, columns);
    for (int i = 0; i < 3; ++i) {
        double row = 0.0;
        for (int j = 0; j < 3; ++j)
            row += a[i][j] * columns[j][0];
        EXPECT_NEAR(row, i == 2 ? 1.0 : 0.0, 1e-14); // a residual: absolute
    }
    EXPECT_REL_NEAR(columns[1][1], -2.0, 1e-14);

    std::vector<double> shortVector(2);
    EXPECT_EQ(messageOf([&] { lu.solve(shortVector, shortVector); }), "LUdcmp::solve bad sizes");
    Matrix mismatched(3, 2);
    Matrix target(3, 3);
    EXPECT_EQ(messageOf([&] { lu.solve(mismatched, target); }), "LUdcmp::solve bad sizes");
}
