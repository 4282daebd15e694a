#include "studies/release_recapture/ReplicateAdjustment.h"

#include "ReferenceCases.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

using namespace quorvel::test;

namespace {

Matrix tableOf(const std::vector<std::vector<double>>& rows)
{
    Matrix table(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (int i = 0; i < table.rows(); ++i)
        for (int j = 0; j < table.cols(); ++j)
            table(i, j) = rows[i][j];
    return table;
}

const QStringList names = {"S1", "P1", "Final"};

} // namespace

TEST(ReplicateAdjustment, AveragesSamplingAndNaturalVarianceOverReplicates)
{
    // Four replicates, σ² = 0.001, V = 0.004: (0.001 + 0.004) / 4 = 0.00125.
    const QJsonObject reference = referenceCase("replicate_adjustment_basic");
    const QJsonObject in = reference.value("inputs").toObject();
    const QJsonArray rows = in.value("table").toArray();
    Matrix table = tableOf({toDoubles(rows[0])});
    const int column = applyReplicateAdjustment(
        table, QJsonValue(in.value("names")).toVariant().toStringList(),
        in.value("parameter").toString(), in.value("replicates").toInt(),
        in.value("natural_variance").toDouble(), in.value("ranged_input").toString());
    EXPECT_EQ(column, 1);
    const std::vector<double> expected =
        toDoubles(reference.value("expected").toObject().value("table").toArray()[0]);
    for (int j = 0; j < table.cols(); ++j)
        EXPECT_REL_NEAR(table(0, j), expected[j], reference.value("relative_tolerance").toDouble());
    EXPECT_REL_NEAR(table(0, 1), 0.00125, 1e-12);

    // One replicate averages nothing, but the natural variance still adds.
    Matrix single = tableOf({{1000, 0.004, 0.002, 0.003}});
    applyReplicateAdjustment(single, names, "S1", 1, 0.001, "");
    EXPECT_REL_NEAR(single(0, 1), 0.001 + 0.004, 1e-12);
}

TEST(ReplicateAdjustment, UnknownNameLeavesTableUnchanged)
{
    Matrix table = tableOf({{1000, 0.004, 0.002, 0.003}});
    EXPECT_EQ(applyReplicateAdjustment(table, names, "s1", 4, 0.001, ""), -1);
    EXPECT_EQ(applyReplicateAdjustment(table, names, "S2", 4, 0.001, ""), -1);
    EXPECT_EQ(table(0, 1), 0.004);
    EXPECT_EQ(table(0, 3), 0.003);
}

TEST(ReplicateAdjustment, RangedReplicatesOrVariabilityComeFromEachRow)
{
    Matrix replicates = tableOf({{2, 0.1, 0.004, 0.3}, {4, 0.1, 0.004, 0.3}, {0, 0.1, 0.004, 0.3}});
    EXPECT_EQ(applyReplicateAdjustment(replicates, names, "P1", 10, 0.001, "Replicates"), 2);
    EXPECT_REL_NEAR(replicates(0, 2), (0.001 + 0.004) / 2, 1e-12);
    EXPECT_REL_NEAR(replicates(1, 2), (0.001 + 0.004) / 4, 1e-12);
    EXPECT_EQ(replicates(2, 2), 0.004);
    EXPECT_EQ(replicates(1, 1), 0.1);
    EXPECT_EQ(replicates(1, 3), 0.3);

    Matrix variability = tableOf({{0.002, 0.1, 0.2, 0.004}, {0.01, 0.1, 0.2, 0.004}});
    applyReplicateAdjustment(variability, names, "Final", 4, 0.5, "Variability");
    EXPECT_REL_NEAR(variability(0, 3), (0.002 + 0.004) / 4, 1e-12);
    EXPECT_REL_NEAR(variability(1, 3), (0.01 + 0.004) / 4, 1e-12);
}
