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

// The balloon-tag example's SE of T with Sc 0.8 and St 0.72 (T 0.9):
// Var(T) = a/Rc + b/Rt, a = T²(1 − Pa·Sc)/(Sc·Pa), b = T(1 − St·Pa)/(Sc·Pa).
double balloonTagSe(double rc, double rt, double pa)
{
    const double sc = 0.8;
    const double t = 0.9;
    const double a = t * t * (1 - pa * sc) / (sc * pa);
    const double b = t * (1 - t * sc * pa) / (sc * pa);
    return std::sqrt(a / rc + b / rt);
}

} // namespace

// JSON of a sensitivity: the fields named for a design file's inputs, each
// measure the closed form's with that input changed, largest change first.
TEST(GuessCommand, SensitivityJsonFollowsTheBalloonTagClosedForm)
{
    const auto result = runCalc({"--sensitivity", "--for", "T", "--format", "json", "--spread",
                                 "0.1", examplePath("btps")});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(result.out.toUtf8()).object();
    EXPECT_EQ(object["quantity"].toString(), "T");
    EXPECT_EQ(object["measure"].toString(), "se");
    EXPECT_REL_NEAR(object["base"].toDouble(), balloonTagSe(1000, 1000, 0.5), 1e-9);
    const QJsonArray inputs = object["inputs"].toArray();
    ASSERT_EQ(inputs.size(), 6);
    double previous = INFINITY;
    for (const QJsonValue& value : inputs) {
        const QJsonObject input = value.toObject();
        const QString name = input["name"].toString();
        const double low = input["measureLow"].toDouble();
        const double high = input["measureHigh"].toDouble();
        const double base = object["base"].toDouble();
        const double swing = std::max({base, low, high}) - std::min({base, low, high});
        EXPECT_LE(swing, previous) << name.toStdString();
        previous = swing;
        if (name == "Rc") {
            EXPECT_EQ(input["low"].toDouble(), 900);
            EXPECT_REL_NEAR(low, balloonTagSe(900, 1000, 0.5), 1e-9);
            EXPECT_REL_NEAR(high, balloonTagSe(1100, 1000, 0.5), 1e-9);
        } else if (name == "Pa") {
            EXPECT_REL_NEAR(low, balloonTagSe(1000, 1000, 0.45), 1e-9);
            EXPECT_REL_NEAR(high, balloonTagSe(1000, 1000, 0.55), 1e-9);
        } else if (name == "Pd") {
            EXPECT_EQ(low, base);
            EXPECT_EQ(high, base);
        }
    }
    EXPECT_EQ(inputs.last().toObject()["name"].toString(), "Pd");
}

// A band over Pa at every point; with --solve, the plan at its worst case;
// options that do not belong together refused.
TEST(GuessCommand, BandsPlansForTheWorstCaseAndRefusesWhatDoesNotBelong)
{
    const auto csv =
        runCalc({"--band", "Pa=0.4..0.6", "--for", "T", "--format", "csv", examplePath("btps")});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    const QStringList cells = lines[1].split(',');
    // Without a range: base, least, Pa there, greatest, Pa there.
    EXPECT_REL_NEAR(cells[0].toDouble(), balloonTagSe(1000, 1000, 0.5), 1e-9);
    EXPECT_REL_NEAR(cells[1].toDouble(), balloonTagSe(1000, 1000, 0.6), 1e-9);
    EXPECT_EQ(cells[2], "0.6");
    EXPECT_REL_NEAR(cells[3].toDouble(), balloonTagSe(1000, 1000, 0.4), 1e-9);
    EXPECT_EQ(cells[4], "0.4");

    const auto planned = runCalc({"--band", "Pa=0.4..0.6", "--solve", "release", "--for", "T",
                                  "--target", "se=0.05", examplePath("btps")});
    ASSERT_EQ(planned.status, 0) << planned.err.toStdString();
    // At Pa = 0.4 the SE of 1000 + 1000 fish scales as 1/√n to 0.05.
    const double fish = 2000 * std::pow(balloonTagSe(1000, 1000, 0.4) / 0.05, 2);
    EXPECT_TRUE(planned.out.contains(QString::number(std::ceil(fish - 1e-9)) + " fish"))
        << planned.out.toStdString() << fish;
    EXPECT_TRUE(planned.out.contains("worst case of the band Pa = 0.4..0.6"));

    for (const QStringList& refused :
         {QStringList{"--sensitivity"}, QStringList{"--spread", "0.2"},
          QStringList{"--sensitivity", "--for", "T", "--spread", "1"},
          QStringList{"--sensitivity", "--for", "T", "--measure", "width"},
          QStringList{"--sensitivity", "--band", "Pa=0.4..0.6", "--for", "T"},
          QStringList{"--band", "Pa=0.4..0.6", "--for", "T", "--point", "2"},
          QStringList{"--band", "Pa=0.4", "--for", "T"},
          QStringList{"--sensitivity", "--solve", "release", "--for", "T", "--target", "se=0.1"},
          QStringList{"--sensitivity", "--for", "T", "--simulate", "10"}}) {
        const auto result = runCalc(refused + QStringList{examplePath("btps")});
        EXPECT_EQ(result.status, 2) << refused.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_FALSE(result.err.isEmpty());
    }
}
