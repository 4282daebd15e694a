#include "studies/sensitivity/Sensitivity.h"
#include "studies/sensitivity/SensitivityTables.h"

#include "studies/common/RunMonitor.h"
#include "studies/design/DesignFile.h"
#include "studies/planning/DesignComputation.h"
#include "studies/planning/search/PlanMeasurer.h"

#include "Tolerance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

Design example(const QString& name)
{
    Design design;
    QString error;
    EXPECT_TRUE(
        DesignFile::readFile(QStringLiteral(QUORVEL_EXAMPLES_DIR "/") + name, &design, &error))
        << error.toStdString();
    return design;
}

// The measure of quantity at point of design, run as a whole the ordinary
// way, with SE, half-widths and CV taken from the variance here.
double ordinaryMeasure(Design design, const QString& quantity, PlanTarget::Measure measure,
                       int point)
{
    design.options.totalSurvival = true;
    planning::QuietMonitor monitor(nullptr);
    QString message;
    const auto computation = DesignComputation::of(design);
    if (computation->run(monitor, &message) != DesignComputation::Computed)
        return std::numeric_limits<double>::infinity();
    const PrecisionTable table = computation->precisionTable();
    const int q = static_cast<int>(table.names.indexOf(quantity));
    const double se = std::sqrt(table.variances(point, q));
    switch (measure) {
    case PlanTarget::StandardError:
        return se;
    case PlanTarget::HalfWidth90:
        return 1.645 * se;
    case PlanTarget::HalfWidth95:
        return 1.96 * se;
    case PlanTarget::CoefficientOfVariation:
        break;
    case PlanTarget::Power:
        ADD_FAILURE() << "this reference measures precision only";
        return std::nan("");
    }
    return se / std::fabs(table.estimates(point, q));
}

// design with input key holding value; the range holder given one value
// loses the range, and the point is then the only one.
Design changed(const Design& design, const QString& key, double value, int* point)
{
    Design changed = design;
    changed.inputs.field(key).text = QString::number(value, 'g', 17);
    if (design.inputs.holdsRange(key)) {
        changed.inputs.setRangeHolder(QString());
        *point = 0;
    }
    return changed;
}

} // namespace

// Every design: the base and both ends of every entry are the measure the
// ordinary run gives with that one input changed; each entry is kept to its
// domain; the entries come largest change first.
TEST(Sensitivity, EveryEntryIsTheOrdinaryRunWithThatOneInputChanged)
{
    const struct
    {
        QString file;
        QString quantity;
        PlanTarget::Measure measure;
    } cases[] = {{"single.json", "S1", PlanTarget::StandardError},
                 {"single.json", "CompositeS", PlanTarget::CoefficientOfVariation},
                 {"paired.json", "St", PlanTarget::HalfWidth95},
                 {"tirr.json", "T", PlanTarget::StandardError},
                 {"btps.json", "T", PlanTarget::HalfWidth90},
                 {"vwp.json", "Sdam", PlanTarget::StandardError}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " " + c.quantity.toStdString());
        const Design design = example(c.file);
        SensitivityRequest request;
        request.target.quantity = c.quantity;
        request.target.measure = c.measure;
        request.spread = 0.15;
        request.point = std::min(2, design.inputs.numPoints() - 1);
        Sensitivity result;
        QString error;
        ASSERT_TRUE(sensitivity::analyse(design, request, &result, &error)) << error.toStdString();
        EXPECT_REL_NEAR(result.base, ordinaryMeasure(design, c.quantity, c.measure, request.point),
                        1e-12);
        int enabled = 0;
        for (const InputField& field : design.inputs.fields())
            enabled += field.enabled ? 1 : 0;
        ASSERT_EQ(result.inputs.size(), enabled);
        int changes = 0;
        for (int k = 0; k < result.inputs.size(); ++k) {
            const SensitivityEntry& entry = result.inputs[k];
            SCOPED_TRACE(entry.key.toStdString());
            const InputField& field = design.inputs.field(entry.key);
            for (const auto& [value, measure] : {std::pair{entry.low, entry.measureLow},
                                                 std::pair{entry.high, entry.measureHigh}}) {
                int point = request.point;
                const Design one = changed(design, entry.key, value, &point);
                EXPECT_REL_NEAR(measure, ordinaryMeasure(one, c.quantity, c.measure, point), 1e-12);
            }
            EXPECT_LE(entry.low, entry.value);
            EXPECT_GE(entry.high, entry.value);
            if (entry.value > 0) {
                EXPECT_GT(entry.low, 0.0);
            }
            if (field.editType == RangeArithmetic::Integer) {
                EXPECT_EQ(entry.low, std::floor(entry.low));
                EXPECT_EQ(entry.high, std::floor(entry.high));
                if (entry.value >= 2) {
                    EXPECT_GE(entry.low, 1.0);
                }
            } else if (entry.value > 0) {
                EXPECT_REL_NEAR(entry.low, entry.value * 0.85, 1e-12);
            }
            if (k > 0) {
                EXPECT_GE(result.inputs[k - 1].swing(result.base), entry.swing(result.base));
            }
            changes += entry.swing(result.base) > 0 ? 1 : 0;
        }
        EXPECT_GT(changes, 1);
    }
}

// A probability stops at 1, a release size moves by whole fish and keeps
// at least one; an input at 1 is varied downwards only.
TEST(Sensitivity, VariedValuesStayInTheirDomains)
{
    Design design = example("single.json");
    design.inputs.setRangeHolder(QString());
    design.inputs.field("R0").text = "5";
    design.inputs.field("S2").text = "0.95";
    design.inputs.field("Lambda").text = "1";
    const auto varied = [&](const QString& key, double spread) {
        return sensitivity::variedValues(design, key, design.inputs.valueAt(key, 0), spread);
    };
    EXPECT_EQ(varied("R0", 0.1), (QPair<double, double>{4, 6}));
    EXPECT_EQ(varied("R0", 0.9), (QPair<double, double>{1, 10}));
    EXPECT_EQ(varied("S2", 0.1), (QPair<double, double>{0.855, 1}));
    EXPECT_EQ(varied("Lambda", 0.2), (QPair<double, double>{0.8, 1}));
    EXPECT_EQ(varied("R1", 0.5), (QPair<double, double>{0, 0}));
    design.inputs.field("R0").text = "1";
    EXPECT_EQ(varied("R0", 0.5), (QPair<double, double>{1, 2}));
}

// A varied value that the design's checks refuse though its field would
// hold it (D1 of a paired release above 1) is brought back to the last value
// the design takes, and measured there: nearly every fish detected is
// removed, and the point is singular, with the run's message, not the
// refusal's.
TEST(Sensitivity, ValueTheDesignRefusesIsBroughtBackToOneItTakes)
{
    Design design = example("paired.json");
    design.inputs.field("D1").text = "0.95";
    SensitivityRequest request;
    request.target.quantity = "St";
    Sensitivity result;
    QString error;
    ASSERT_TRUE(sensitivity::analyse(design, request, &result, &error)) << error.toStdString();
    const auto entry = std::find_if(result.inputs.begin(), result.inputs.end(),
                                    [](const SensitivityEntry& e) { return e.key == "D1"; });
    ASSERT_NE(entry, result.inputs.end());
    EXPECT_LT(entry->high, 1.0);
    EXPECT_GT(entry->high, 0.999);
    EXPECT_EQ(entry->high, sensitivity::variedValues(design, "D1", 0.95, 0.1).second);
    int point = 0;
    EXPECT_EQ(entry->measureHigh, ordinaryMeasure(changed(design, "D1", entry->high, &point), "St",
                                                  PlanTarget::StandardError, point));
    EXPECT_TRUE(std::isfinite(entry->measureLow));
    EXPECT_EQ(entry->message, "Singular hessian: step = 0");
    // The window's table does not round it onto the 1 it is not.
    EXPECT_EQ(sensitivitytables::inputText(entry->high).toDouble(), entry->high);
    EXPECT_EQ(sensitivitytables::inputText(0.855), "0.855");
    EXPECT_EQ(sensitivitytables::inputText(1.0), "1");
}

// What cannot be analysed is refused with a message saying what was asked.
TEST(Sensitivity, RefusesWhatItCannotAnalyse)
{
    const Design design = example("single.json");
    const auto refusal = [&](double spread, const QString& quantity, int point) {
        SensitivityRequest request;
        request.spread = spread;
        request.target.quantity = quantity;
        request.point = point;
        Sensitivity result;
        QString error;
        EXPECT_FALSE(sensitivity::analyse(design, request, &result, &error));
        return error;
    };
    EXPECT_TRUE(refusal(0, "S1", 0).contains("above 0 and below 1"));
    EXPECT_TRUE(refusal(1, "S1", 0).contains("1 was asked"));
    EXPECT_TRUE(refusal(0.1, "T", 0).contains("does not estimate \"T\""));
    const int points = design.inputs.numPoints();
    EXPECT_TRUE(refusal(0.1, "S1", points)
                    .contains(QStringLiteral("%1 points: point %2").arg(points).arg(points + 1)));
    EXPECT_FALSE(refusal(0.1, "S1", -1).isEmpty());
    Design refused = design;
    refused.inputs.field("P1").text = "1.5";
    SensitivityRequest request;
    request.target.quantity = "S1";
    Sensitivity result;
    QString error;
    EXPECT_FALSE(sensitivity::analyse(refused, request, &result, &error));
    EXPECT_TRUE(error.startsWith("P1 must lie in (0, 1]")) << error.toStdString();
}

// A cancel while the inputs are varied (on every core) ends the analysis
// with "Cancelled!" and no answer.
TEST(Sensitivity, StopsWhenCancelled)
{
    class CancelLater : public planning::QuietMonitor
    {
    public:
        CancelLater()
            : QuietMonitor(nullptr)
        {}
        bool isCanceled() const override { return ++asked > 8; }
        mutable std::atomic<int> asked{0};
    } monitor;
    SensitivityRequest request;
    request.target.quantity = "S1";
    Sensitivity result;
    QString error;
    EXPECT_FALSE(sensitivity::analyse(example("single.json"), request, &result, &error, &monitor));
    EXPECT_EQ(error, "Cancelled!");
    EXPECT_TRUE(result.inputs.isEmpty());
}
