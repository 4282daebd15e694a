#include "CalcTestSupport.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace quorvel::test;

// The third point of the transport example's range (Rc = Rt = 100 to 1000 in
// steps of 10, θ = 0.5, T = 0.8) checked with 400 data sets: the same numbers
// from the same seed, in every format.
TEST(SimulateCommand, ChecksTheChosenPointReproduciblyInEveryFormat)
{
    const QStringList check = {"--simulate", "400", "--seed", "5", "--point", "3"};
    const CalcResult json = runCalc(check + QStringList{"-f", "json", examplePath("tirr")});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    EXPECT_EQ(runCalc(check + QStringList{"-f", "json", examplePath("tirr")}).out, json.out);

    const QJsonObject result = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(result["design"].toString(), "tirr");
    EXPECT_EQ(result["dataSets"].toInt(), 400);
    EXPECT_EQ(result["seed"].toInt(), 5);
    EXPECT_EQ(result["point"].toInt(), 3);
    EXPECT_REL_NEAR(result["value"].toDouble(), 120.0, 1e-15);
    const QJsonObject t = result["quantities"].toArray()[0].toObject();
    EXPECT_EQ(t["name"].toString(), "T");
    EXPECT_REL_NEAR(t["trueValue"].toDouble(), 0.8, 1e-15);
    // T²·[(1 − θ)/(Rc·θ) + (1 − θT)/(Rt·θT)]
    EXPECT_REL_NEAR(t["predictedSE"].toDouble(),
                    std::sqrt(0.64 * (0.5 / (120 * 0.5) + 0.6 / (120 * 0.4))), 1e-12);
    const double coverage = t["coverage95"].toObject()["value"].toDouble();
    EXPECT_GT(coverage, 0.8);
    EXPECT_LE(coverage, 1.0);
    EXPECT_FALSE(t["verdict"].toString().isEmpty());

    const CalcResult text = runCalc(check + QStringList{examplePath("tirr")});
    ASSERT_EQ(text.status, 0);
    for (const char* part : {"Transport In-River Ratio Simulation Check Results", "Rc-Rt = 120",
                             "Seed:", "95% Coverage", "Verdict:"})
        EXPECT_TRUE(text.out.contains(part)) << part;
    EXPECT_TRUE(text.out.contains(t["verdict"].toString()));

    const CalcResult csv = runCalc(check + QStringList{"-f", "csv", examplePath("tirr")});
    ASSERT_EQ(csv.status, 0);
    const QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].startsWith("Rc-Rt,120,5,400,")) << lines[1].toStdString();
}

TEST(SimulateCommand, RefusesBadOptionsAndPointsBeyondTheRange)
{
    for (const QStringList& arguments :
         {QStringList{"--simulate", "0"}, QStringList{"--simulate", "10", "--point", "0"},
          QStringList{"--simulate", "10", "--seed", "-1"}, QStringList{"--seed", "4"}}) {
        const CalcResult refused = runCalc(arguments + QStringList{examplePath("tirr")});
        EXPECT_EQ(refused.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
    const CalcResult beyond = runCalc({"--simulate", "10", "--point", "91", examplePath("tirr")});
    EXPECT_EQ(beyond.status, 2);
    EXPECT_TRUE(beyond.err.contains("--point 91 is beyond the design's last point, 90"))
        << beyond.err.toStdString();
}

// With --power the CSV stays one table: a quantity with a null value (the
// balloon-tag design's T, against 1) ends its row in the predicted power, the
// Wald test's at the row's own true value and predicted SE, and the share of
// the fits tested that reject it, with the Monte Carlo error of a share; the
// single release's quantities, without null values, leave those cells empty.
TEST(SimulateCommand, PowerColumnsCloseTheRowsOfQuantitiesWithANullValue)
{
    const CalcResult csv = runCalc({"--simulate", "300", "--seed", "2", "--power", "-f", "csv",
                                    examplePath("btps"), examplePath("single")});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 1 + 7);
    const QStringList heads = lines[0].split(',');
    ASSERT_EQ(heads.mid(heads.size() - 5),
              QStringList({"null value", "predicted power", "empirical power",
                           "empirical power MC error", "power tests"}));

    // The cells before the verdict hold no comma; the power cells follow it.
    const QStringList t = lines[1].split(',');
    EXPECT_EQ(t[heads.indexOf("quantity")], "T");
    const QStringList power = t.mid(t.size() - 5);
    EXPECT_EQ(power[0].toDouble(), 1.0);
    const double effect = std::fabs(t[heads.indexOf("true value")].toDouble() - 1.0);
    const double se = t[heads.indexOf("predicted SE")].toDouble();
    const double z = 1.959963984540054;
    const auto phi = [](double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); };
    EXPECT_REL_NEAR(power[1].toDouble(), phi(effect / se - z) + phi(-effect / se - z), 1e-9);
    const int tested = power[4].toInt();
    EXPECT_GT(tested, 250);
    EXPECT_LE(tested, 300);
    const double share = power[2].toDouble();
    EXPECT_NEAR(share * tested, std::round(share * tested), 1e-6);
    EXPECT_REL_NEAR(power[3].toDouble(), std::sqrt(share * (1 - share) / tested), 1e-12);

    for (int row = 2; row < lines.size(); ++row)
        EXPECT_TRUE(lines[row].endsWith(",,,,,")) << lines[row].toStdString();
}
