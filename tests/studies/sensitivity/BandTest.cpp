#include "studies/sensitivity/Band.h"

#include "studies/common/RunMonitor.h"
#include "studies/planning/DesignComputation.h"
#include "studies/planning/search/PlanMeasurer.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Design designOf(Design::Kind kind, const QMap<QString, QString>& texts, int reaches)
{
    Design design;
    design.kind = kind;
    design.inputs = designs::info(kind).blankInputs(reaches);
    for (auto t = texts.begin(); t != texts.end(); ++t)
        design.inputs.field(t.key()).text = t.value();
    return design;
}

// Three reaches and the final one, released over a range of three sizes.
Design threeReaches()
{
    Design design = designOf(Design::SingleRelease,
                             {{"R0", "1000:3000"},
                              {"S1", "0.85"},
                              {"P1", "0.6"},
                              {"D1", "0"},
                              {"R1", "0"},
                              {"S2", "0.9"},
                              {"P2", "0.7"},
                              {"D2", "0"},
                              {"R2", "0"},
                              {"S3", "0.8"},
                              {"P3", "0.5"},
                              {"D3", "0"},
                              {"R3", "0"},
                              {"Lambda", "0.55"}},
                             4);
    design.inputs.setRangeHolder("R0");
    return design;
}

// The SE of quantity at every point, by an ordinary run of design.
QList<double> ordinarySe(const Design& design, const QString& quantity)
{
    planning::QuietMonitor monitor(nullptr);
    QString message;
    const auto computation = DesignComputation::of(design);
    EXPECT_EQ(computation->run(monitor, &message), DesignComputation::Computed)
        << message.toStdString();
    const PrecisionTable table = computation->precisionTable();
    QList<double> se;
    for (int i = 0; i < table.pointCount(); ++i)
        se << std::sqrt(table.variances(i, static_cast<int>(table.names.indexOf(quantity))));
    return se;
}

Band bandOf(const Design& design, const QString& quantity, const QString& box)
{
    QList<BandInput> inputs;
    QString error;
    EXPECT_TRUE(bands::parseBox(box, &inputs, &error)) << error.toStdString();
    Band band;
    EXPECT_TRUE(
        bands::compute(design, {quantity, PlanTarget::StandardError, 0}, inputs, &band, &error))
        << error.toStdString();
    return band;
}

} // namespace

// On a case monotone in both inputs, the band at every point is the least
// and greatest of a brute-force search over a 21 × 21 grid of ordinary runs,
// found at corners.
TEST(Band, MinAndMaxAreThoseOfABruteForceGridOnAMonotoneCase)
{
    const Design design = threeReaches();
    const Band band = bandOf(design, "S2", "P2=0.5..0.8,S1=0.8..0.9");
    const int points = design.inputs.numPoints();
    ASSERT_GT(points, 2);
    QList<double> least;
    QList<double> greatest;
    for (int i = 0; i < points; ++i) {
        least << INFINITY;
        greatest << -INFINITY;
    }
    for (int a = 0; a <= 20; ++a) {
        for (int b = 0; b <= 20; ++b) {
            Design varied = design;
            varied.inputs.field("P2").text = QString::number(0.5 + 0.3 * a / 20, 'g', 17);
            varied.inputs.field("S1").text = QString::number(0.8 + 0.1 * b / 20, 'g', 17);
            const QList<double> se = ordinarySe(varied, "S2");
            for (int i = 0; i < points; ++i) {
                least[i] = std::min(least[i], se[i]);
                greatest[i] = std::max(greatest[i], se[i]);
            }
        }
    }
    const QList<double> base = ordinarySe(design, "S2");
    ASSERT_EQ(band.rows.size(), points);
    for (int i = 0; i < points; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(band.rows[i].x, design.inputs.pointAt(i));
        EXPECT_REL_NEAR(band.rows[i].base, base[i], 1e-12);
        EXPECT_REL_NEAR(band.rows[i].min.measure, least[i], 1e-9);
        EXPECT_REL_NEAR(band.rows[i].max.measure, greatest[i], 1e-9);
        EXPECT_EQ(band.rows[i].min.inputs, (QList<double>{0.8, 0.9}));
        EXPECT_EQ(band.rows[i].max.inputs, (QList<double>{0.5, 0.8}));
        EXPECT_FALSE(band.rows[i].min.interior);
        EXPECT_FALSE(band.rows[i].max.interior);
    }
}

// One reach: Var(Ŝ1) = [S(1 − S) + S·c]/N with c = (1 − P)(1 − λ)/(Pλ)
// rises and falls in S, peaking at S* = (1 + c)/2. With P = λ = 0.8, c =
// 0.0625 and S* = 0.53125, inside [0.3, 0.8]; the least is at S = 0.8.
TEST(Band, FindsTheSurvivalWhereTheStandardErrorPeaksInsideTheInterval)
{
    const Design design = designOf(
        Design::SingleRelease,
        {{"R0", "1000"}, {"S1", "0.6"}, {"P1", "0.8"}, {"D1", "0"}, {"R1", "0"}, {"Lambda", "0.8"}},
        2);
    const Band band = bandOf(design, "S1", "S1=0.3..0.8");
    ASSERT_EQ(band.rows.size(), 1);
    const double c = 0.2 * 0.2 / (0.8 * 0.8);
    const auto se = [&](double s) { return std::sqrt((s * (1 - s) + s * c) / 1000); };
    const BandRow& row = band.rows[0];
    EXPECT_TRUE(row.max.interior);
    EXPECT_NEAR(row.max.inputs[0], 0.53125, 1e-4);
    EXPECT_REL_NEAR(row.max.measure, se(0.53125), 1e-9);
    EXPECT_FALSE(row.min.interior);
    EXPECT_EQ(row.min.inputs[0], 0.8);
    EXPECT_REL_NEAR(row.min.measure, se(0.8), 1e-9);
    EXPECT_REL_NEAR(row.base, se(0.6), 1e-9);
}

// Planning for the worst case of a band is planning the design with the box's
// inputs at its worst corner (the least detection and survival, as above).
TEST(Band, WorstCasePlanningIsPlanningAtTheWorstCorner)
{
    const Design design = threeReaches();
    QList<BandInput> box;
    QString error;
    ASSERT_TRUE(bands::parseBox("P2=0.5..0.8,S1=0.8..0.9", &box, &error));
    PlanRequest request;
    request.solve = PlanRequest::Probability;
    request.field = "P3";
    request.target = {"S2", PlanTarget::StandardError, 0.03};
    Plan worst;
    ASSERT_TRUE(bands::planWorstCase(design, box, request, &worst, nullptr, &error))
        << error.toStdString();
    Design corner = design;
    corner.inputs.field("P2").text = "0.5";
    corner.inputs.field("S1").text = "0.8";
    Plan expected;
    ASSERT_TRUE(planner::plan(corner, request, &expected, &error)) << error.toStdString();
    ASSERT_EQ(worst.rows.size(), expected.rows.size());
    for (int i = 0; i < worst.rows.size(); ++i) {
        EXPECT_EQ(worst.rows[i].x, expected.rows[i].x);
        EXPECT_EQ(worst.rows[i].met, expected.rows[i].met);
        EXPECT_EQ(worst.rows[i].answer, expected.rows[i].answer);
        EXPECT_EQ(worst.rows[i].achieved, expected.rows[i].achieved);
    }
    EXPECT_TRUE(worst.rows[0].met);

    request.field = "P2";
    EXPECT_FALSE(bands::planWorstCase(design, box, request, &worst, nullptr, &error));
    EXPECT_TRUE(error.contains("P2 is solved for")) << error.toStdString();
}

// Boxes that cannot be searched are refused with what is wrong.
TEST(Band, RefusesBoxesItCannotSearch)
{
    const Design design = threeReaches();
    const auto refusal = [&](const QString& text) {
        QList<BandInput> box;
        QString error;
        if (!bands::parseBox(text, &box, &error))
            return error;
        Band band;
        EXPECT_FALSE(
            bands::compute(design, {"S2", PlanTarget::StandardError, 0}, box, &band, &error))
            << text.toStdString();
        return error;
    };
    EXPECT_TRUE(refusal("P2=0.5").contains("Cannot read the interval \"P2=0.5\""));
    EXPECT_TRUE(refusal("P2=0.5..x").contains("Cannot read"));
    EXPECT_TRUE(refusal("Q9=0.1..0.2").contains("no input \"Q9\""));
    EXPECT_TRUE(refusal("R0=100..200").contains("R0 holds the range"));
    EXPECT_TRUE(refusal("P2=0.8..0.5").contains("runs downwards"));
    EXPECT_TRUE(refusal("P2=0.5..1.2").contains("beyond the values"));
    EXPECT_TRUE(refusal("P2=0.5..0.8,P2=0.6..0.7").contains("P2 is given twice"));
    EXPECT_TRUE(refusal("P1=0.1..0.2,P2=0.1..0.2,P3=0.1..0.2,S1=0.1..0.2,S2=0.1..0.2")
                    .contains("at most 4 inputs"));
    Design fixed = design;
    fixed.inputs.setRangeHolder(QString());
    fixed.inputs.field("R0").text = "1000";
    QList<BandInput> box;
    QString error;
    ASSERT_TRUE(bands::parseBox("R0=100.5..200", &box, &error));
    Band band;
    EXPECT_FALSE(bands::compute(fixed, {"S2", PlanTarget::StandardError, 0}, box, &band, &error));
    EXPECT_TRUE(error.contains("whole numbers")) << error.toStdString();
}

// A release size in the box is searched in whole fish: the balloon-tag SE
// of T falls as Rc grows (Var(T) = a/Rc + b/Rt), so the least is at the top
// of the interval and the greatest at its bottom, both whole.
TEST(Band, SearchesReleaseSizesInWholeFish)
{
    const Design design = designOf(Design::BTPS,
                                   {{"Rc", "1000"},
                                    {"Rt", "1000"},
                                    {"Sc", "0.8"},
                                    {"St", "0.72"},
                                    {"T", "0.9"},
                                    {"Pa", "0.5"},
                                    {"Pd", "0.3"}},
                                   0);
    Design unlinked = design;
    unlinked.inputs.switches["linkReleases"] = false;
    unlinked.inputs.switches["useSt"] = true;
    designs::info(Design::BTPS).applySwitches(unlinked.inputs);
    const Band band = bandOf(unlinked, "T", "Rc=333..1501");
    ASSERT_EQ(band.rows.size(), 1);
    const auto se = [](double rc) {
        const double a = 0.81 * (1 - 0.4) / 0.4;
        const double b = 0.9 * (1 - 0.36) / 0.4;
        return std::sqrt(a / rc + b / 1000);
    };
    EXPECT_EQ(band.rows[0].min.inputs, QList<double>{1501});
    EXPECT_EQ(band.rows[0].max.inputs, QList<double>{333});
    EXPECT_REL_NEAR(band.rows[0].min.measure, se(1501), 1e-9);
    EXPECT_REL_NEAR(band.rows[0].max.measure, se(333), 1e-9);
}

// A cancel during the search ends it with "Cancelled!" and no band.
TEST(Band, StopsWhenCancelled)
{
    class CancelLater : public planning::QuietMonitor
    {
    public:
        CancelLater()
            : QuietMonitor(nullptr)
        {}
        bool isCanceled() const override { return ++asked > 5; }
        mutable int asked = 0;
    } monitor;
    QList<BandInput> box;
    QString error;
    ASSERT_TRUE(bands::parseBox("P2=0.5..0.8,S1=0.8..0.9", &box, &error));
    Band band;
    EXPECT_FALSE(bands::compute(threeReaches(), {"S2", PlanTarget::StandardError, 0}, box, &band,
                                &error, &monitor));
    EXPECT_EQ(error, "Cancelled!");
    EXPECT_TRUE(band.rows.isEmpty());
}
