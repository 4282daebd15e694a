#include "CalcTestSupport.h"

#include "Tolerance.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using quorvel::test::examplePath;
using quorvel::test::runCalc;

namespace {

double phi(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

} // namespace

// Every design, every quantity tested against 0.9: the power in the JSON is
// the formula's at the estimate and SE beside it, two-sided at 5% and
// one-sided at 10%.
TEST(PowerCommand, GivesTheFormulasPowerForEveryQuantityOfEveryDesign)
{
    struct Test
    {
        QStringList options;
        double z;
        bool twoSided;
    };
    const QList<Test> tests = {{{}, 1.959963984540054, true},
                               {{"--alpha", "0.1", "--sided", "one"}, 1.2815515655446004, false}};
    for (const QString& design : QStringList{"single", "paired", "tirr", "btps", "vwp"}) {
        for (const Test& test : tests) {
            const auto result =
                runCalc(QStringList{"--power", "--null", "0.9", "--format", "json"} + test.options +
                        QStringList{examplePath(design)});
            ASSERT_EQ(result.status, 0) << result.err.toStdString();
            const QJsonObject json = QJsonDocument::fromJson(result.out.toUtf8()).object();
            int checked = 0;
            for (const QJsonValue point : json.value("points").toArray()) {
                const QJsonObject quantities = point.toObject().value("quantities").toObject();
                for (const QString& name : quantities.keys()) {
                    const QJsonObject q = quantities.value(name).toObject();
                    EXPECT_EQ(q.value("nullValue").toDouble(), 0.9);
                    const double d =
                        std::fabs(q.value("estimate").toDouble() - 0.9) / q.value("se").toDouble();
                    const double expected =
                        phi(d - test.z) + (test.twoSided ? phi(-d - test.z) : 0.0);
                    EXPECT_REL_NEAR(q.value("power").toDouble(), expected, 1e-9)
                        << design.toStdString() << " " << name.toStdString();
                    ++checked;
                }
            }
            EXPECT_GT(checked, 0) << design.toStdString();
        }
    }
}

// Without a null value a survival shows no power; the ratio T has 1. Text,
// CSV and JSON agree; options without --power, or a level outside (0, 1),
// are refused.
TEST(PowerCommand, ShowsPowerOnlyWhereANullValueIsSetAndRefusesBadOptions)
{
    const auto csv = runCalc({"--power", "--format", "csv", examplePath("btps")});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    EXPECT_TRUE(csv.out.section('\n', 0, 0).endsWith("T null,T power,known"));
    const auto text = runCalc({"--power", examplePath("btps")});
    EXPECT_TRUE(text.out.contains("Power: two-sided test at alpha = 0.05 of T against 1."));
    EXPECT_FALSE(runCalc({examplePath("btps")}).out.contains("Power"));
    const auto single = runCalc({"--power", "--format", "csv", examplePath("single")});
    EXPECT_FALSE(single.out.contains("power"));
    const auto named =
        runCalc({"--power", "--null", "S2=0.8", "--format", "csv", examplePath("single")});
    EXPECT_TRUE(named.out.contains("S2 power"));
    EXPECT_FALSE(named.out.contains("S1 power"));

    for (const QStringList& refused :
         {QStringList{"--null", "0.9"}, QStringList{"--power", "--alpha", "1"},
          QStringList{"--power", "--alpha", "x"}, QStringList{"--power", "--sided", "three"},
          QStringList{"--power", "--null", "S1="}}) {
        const auto result = runCalc(refused + QStringList{examplePath("btps")});
        EXPECT_EQ(result.status, 2) << refused.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}

// The balloon-tag design checked by simulation: with 20000 fish a group the
// share of data sets whose test rejects T = 1 lies within three Monte Carlo
// errors of the predicted power; with 40 a group, where the ratio's estimate
// is far from normal, it lies well away from it, and says so.
TEST(PowerCommand, SimulationFindsThePredictedPowerAtALargeReleaseOnly)
{
    const QByteArray example = quorvel::test::exampleText("btps");
    const auto powerAt = [&](const QByteArray& size, const QByteArray& st) {
        QTemporaryDir folder;
        QByteArray text = example;
        text.replace("\"1000\"", "\"" + size + "\"").replace("\"0.72\"", "\"" + st + "\"");
        QFile file(folder.filePath("btps.json"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        const auto result = runCalc({"--simulate", "4000", "--seed", "3", "--power", "--format",
                                     "json", folder.filePath("btps.json")});
        EXPECT_EQ(result.status, 0) << result.err.toStdString();
        return QJsonDocument::fromJson(result.out.toUtf8())
            .object()
            .value("power")
            .toArray()
            .first()
            .toObject();
    };
    const QJsonObject large = powerAt("20000", "0.776");
    ASSERT_EQ(large.value("name").toString(), "T");
    const double predicted = large.value("predicted").toDouble();
    const QJsonObject found = large.value("empirical").toObject();
    EXPECT_GT(predicted, 0.5);
    EXPECT_LT(predicted, 0.9);
    EXPECT_GT(found.value("mcError").toDouble(), 0.0);
    EXPECT_LT(std::fabs(found.value("value").toDouble() - predicted),
              3 * found.value("mcError").toDouble());

    const QJsonObject small = powerAt("40", "0.72");
    const QJsonObject smallFound = small.value("empirical").toObject();
    EXPECT_GT(std::fabs(smallFound.value("value").toDouble() - small.value("predicted").toDouble()),
              3 * smallFound.value("mcError").toDouble());
}
