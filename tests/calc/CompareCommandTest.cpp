#include "CalcTestSupport.h"

#include "Tolerance.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

using quorvel::test::examplePath;
using quorvel::test::runCalc;

namespace {

QJsonValue json(const QString& text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
}

} // namespace

// Against a target each design gets exactly what --solve release gives it
// alone: the same fish, release sizes and measure.
TEST(CompareCommand, TargetGivesEachDesignItsOwnReleaseSolve)
{
    const QStringList sources = {"paired:St", "btps:T", "vwp:Sdam"};
    QStringList arguments = {"--compare", "--target", "hw95=0.05", "--format", "json"};
    for (const QString& source : sources)
        arguments << examplePath(source.section(':', 0, 0)) + ":" + source.section(':', 1);
    const auto compared = runCalc(arguments);
    ASSERT_EQ(compared.status, 0) << compared.err.toStdString();
    const QJsonArray entries = json(compared.out).toArray();
    ASSERT_EQ(entries.size(), sources.size());
    for (int i = 0; i < sources.size(); ++i) {
        const QString design = sources[i].section(':', 0, 0);
        const auto alone =
            runCalc({"--solve", "release", "--for", sources[i].section(':', 1), "--target",
                     "hw95=0.05", "--format", "json", examplePath(design)});
        ASSERT_EQ(alone.status, 0) << alone.err.toStdString();
        const QJsonObject point = json(alone.out).toObject().value("points")[0].toObject();
        const QJsonObject entry = entries[i].toObject();
        EXPECT_EQ(entry.value("design").toString(), design);
        EXPECT_EQ(entry.value("totalFish").toDouble(), point.value("totalFish").toDouble());
        EXPECT_EQ(entry.value("measure").toObject().value("value").toDouble(),
                  point.value("achieved").toDouble());
        EXPECT_EQ(entry.value("shortMeasure").toDouble(), point.value("shortMeasure").toDouble());
        const QJsonObject fields = point.value("fields").toObject();
        const QJsonObject sizes = entry.value("releaseSizes").toObject();
        EXPECT_EQ(sizes.keys(), fields.keys());
        for (const QString& key : fields.keys())
            EXPECT_EQ(sizes.value(key).toDouble(), fields.value(key).toDouble());
        EXPECT_TRUE(point.value("met").toBool());
        EXPECT_LE(point.value("achieved").toDouble(), 0.05);
        EXPECT_GT(point.value("shortMeasure").toDouble(), 0.05);
    }
}

// A budget of 3000: the balloon-tag design (Sc 0.8, T 0.9, Pa 0.5, its
// releases equal) at Rc = Rt = 1500 has Var(T) = a/Rc + b/Rt with
// a = T²(1 − Pa·Sc)/(Sc·Pa) and b = T(1 − T·Sc·Pa)/(Sc·Pa); its power
// against T = 1 is the formula's at that SE.
TEST(CompareCommand, BudgetGivesTheMeasureOfEachDesignScaledToIt)
{
    const auto compared =
        runCalc({"--compare", "--budget", "3000", "--target", "power", "--format", "json",
                 examplePath("paired") + ":St", examplePath("btps") + ":T"});
    ASSERT_EQ(compared.status, 0) << compared.err.toStdString();
    const QJsonObject btps = json(compared.out).toArray()[1].toObject();
    EXPECT_EQ(btps.value("totalFish").toDouble(), 3000);
    EXPECT_EQ(btps.value("releaseSizes").toObject().value("Rc").toDouble(), 1500);
    const double t = 0.9, sc = 0.8, pa = 0.5;
    const double a = t * t * (1 - pa * sc) / (sc * pa), b = t * (1 - t * sc * pa) / (sc * pa);
    const double se = std::sqrt(a / 1500 + b / 1500);
    const double z = 1.959963984540054;
    const auto phi = [](double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); };
    const double power = phi(0.1 / se - z) + phi(-0.1 / se - z);
    EXPECT_REL_NEAR(btps.value("measure").toObject().value("value").toDouble(), power, 1e-9);

    // Without a target's value there is nothing to meet: "met" is null in
    // JSON and empty in CSV; with one, each design says whether it meets it.
    EXPECT_TRUE(btps.value("met").isNull());
    const auto csv = runCalc({"--compare", "--budget", "3000", "--format", "csv",
                              examplePath("paired") + ":St", examplePath("btps") + ":T"});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    const int met = lines[0].split(',').indexOf("met");
    ASSERT_GT(met, 0);
    // The met and message cells, the last two, are empty.
    EXPECT_TRUE(lines[2].endsWith(QString(lines[0].count(',') - met + 1, ',')))
        << lines[2].toStdString();
    for (const char* target : {"power=0.5", "power=0.8"}) {
        const auto judged =
            runCalc({"--compare", "--budget", "3000", "--target", target, "--format", "json",
                     examplePath("paired") + ":St", examplePath("btps") + ":T"});
        ASSERT_EQ(judged.status, 0) << judged.err.toStdString();
        const QJsonValue btpsMet = json(judged.out).toArray()[1].toObject().value("met");
        ASSERT_TRUE(btpsMet.isBool()) << target;
        EXPECT_EQ(btpsMet.toBool(), power >= QString(target).section('=', 1).toDouble()) << target;
    }

    for (const QStringList& refused :
         {QStringList{"--compare", examplePath("btps") + ":T", examplePath("paired") + ":St"},
          QStringList{"--compare", "--budget", "0", examplePath("btps") + ":T",
                      examplePath("paired") + ":St"},
          QStringList{"--compare", "--target", "se=0.1", examplePath("btps") + ":T"},
          QStringList{"--compare", "--target", "se=0.1", examplePath("btps"),
                      examplePath("paired") + ":St"},
          QStringList{"--compare", "--target", "se=0.1", examplePath("btps") + ":S9",
                      examplePath("paired") + ":St"}}) {
        const auto result = runCalc(refused);
        EXPECT_EQ(result.status, 2) << refused.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}
