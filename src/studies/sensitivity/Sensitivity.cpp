#include "studies/sensitivity/Sensitivity.h"

#include "forms/core/InputField.h"
#include "studies/common/RunMonitor.h"
#include "studies/planning/Planner.h"
#include "studies/planning/search/PlanSearch.h"
#include "studies/sensitivity/DesignMeasure.h"

#include <QThread>
#include <QVector>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

// The value nearest to wanted, on the way from value, that the design takes
// in field key: wanted itself when taken, else the bound found by bisection
// between value (taken) and wanted (refused). Each check validates the whole
// design, so value itself (an input of 0 varied by a fraction) is not checked
// again.
double takenToward(const Design& design, const QString& key, double value, double wanted)
{
    if (wanted == value || DesignMeasure::accepts(design, key, wanted))
        return wanted;
    const bool whole = design.inputs.field(key).editType == RangeArithmetic::Integer;
    double taken = value;
    double refused = wanted;
    for (int step = 0; step < 60 && std::fabs(refused - taken) > (whole ? 1.0 : 0.0); ++step) {
        double middle = taken + (refused - taken) / 2;
        if (whole)
            middle = std::round(middle);
        if (middle == taken || middle == refused)
            break;
        if (DesignMeasure::accepts(design, key, middle))
            taken = middle;
        else
            refused = middle;
    }
    return taken;
}

// The values an input of value value is varied towards before the design's
// checks: value × (1 − spread) and value × (1 + spread), a release size
// rounded to whole fish, at least one released and at least one fish away,
// a probability stopped at 1.
QPair<double, double> wantedValues(const Design& design, const QString& key, double value,
                                   double spread)
{
    const InputField& field = design.inputs.field(key);
    if (field.editType == RangeArithmetic::Integer) {
        if (value < 1)
            return {value, value};
        const double low = std::max(1.0, std::min(value - 1, std::round(value * (1 - spread))));
        const double high = std::max(value + 1, std::round(value * (1 + spread)));
        return {low, high};
    }
    // Rounded to 12 significant digits, so that 0.9 × 1.1 is varied to 0.99
    // as a biologist would type it.
    const auto typed = [](double v) { return QString::number(v, 'g', 12).toDouble(); };
    const double low = typed(value * (1 - spread));
    const double high = typed(value * (1 + spread));
    // A probability stops at 1; one of value 1 is varied downwards only.
    if (high > 1.0 && DesignMeasure::accepts(design, key, 1.0) &&
        !DesignMeasure::accepts(design, key, 1.5))
        return {low, 1.0};
    return {low, high};
}

// One side of an input's variation: the value it takes and the measure
// there, with the program's message when there is none.
struct Variation
{
    double value = 0.0;
    double measure = 0.0;
    QString message;
};

// base with input key varied from value towards wanted, at the value
// takenToward finds, measured. The run at wanted checks the design as
// takenToward would, so that only a run refused is checked again, to tell a
// value the design does not take from one it takes but cannot read.
Variation measuredToward(DesignMeasure& measure, const Design& base, const QString& key,
                         double value, double wanted, double baseMeasure)
{
    Variation variation{value, baseMeasure, QString()};
    if (wanted == value)
        return variation;
    if (DesignMeasure::withinField(base, key, wanted)) {
        bool refused = false;
        variation.value = wanted;
        variation.measure =
            measure.at(DesignMeasure::with(base, key, wanted), &variation.message, &refused);
        if (!refused || DesignMeasure::accepts(base, key, wanted))
            return variation;
    }
    variation = {takenToward(base, key, value, wanted), baseMeasure, QString()};
    if (variation.value != value)
        variation.measure =
            measure.at(DesignMeasure::with(base, key, variation.value), &variation.message);
    return variation;
}

} // namespace

double SensitivityEntry::swing(double base) const
{
    const double least = std::min({base, measureLow, measureHigh});
    const double greatest = std::max({base, measureLow, measureHigh});
    return greatest - least;
}

QString Sensitivity::title() const
{
    QString title =
        QStringLiteral("%1 of %2")
            .arg(PlanTarget::measureName(request.target.measure), request.target.quantity);
    if (!xName.isEmpty())
        title += QStringLiteral(" at %1 = %2").arg(xName, planning::numberText(x));
    return title +
           QStringLiteral(", inputs varied by %1%").arg(planning::numberText(request.spread * 100));
}

namespace sensitivity {

QPair<double, double> variedValues(const Design& design, const QString& key, double value,
                                   double spread)
{
    const auto [low, high] = wantedValues(design, key, value, spread);
    return {takenToward(design, key, value, low), takenToward(design, key, value, high)};
}

bool analyse(const Design& design, const SensitivityRequest& request, Sensitivity* result,
             QString* error, RunMonitor* monitor)
{
    if (!(request.spread > 0 && request.spread < 1)) {
        *error = QStringLiteral("The spread is a fraction of each input above 0 and below 1, as "
                                "0.1 for 10%: %1 was asked")
                     .arg(planning::numberText(request.spread));
        return false;
    }
    const Design measured = DesignMeasure::measured(design, request.target);
    QString quantityError;
    const QStringList known = planner::quantities(measured, &quantityError);
    if (known.isEmpty()) {
        *error = quantityError;
        return false;
    }
    if (!known.contains(request.target.quantity)) {
        *error = QStringLiteral("The %1 design does not estimate \"%2\": its quantities are %3")
                     .arg(designs::info(design.kind).title, request.target.quantity,
                          known.join(QStringLiteral(", ")));
        return false;
    }
    const int points = design.inputs.numPoints();
    if (request.point < 0 || request.point >= points) {
        *error = QStringLiteral("The design's range has %1 points: point %2 was asked")
                     .arg(points)
                     .arg(request.point + 1);
        return false;
    }

    Sensitivity answer;
    answer.request = request;
    answer.xName = design.inputs.rangeHolder().isEmpty() ? QString() : design.inputs.rangeName();
    answer.x = design.inputs.pointAt(request.point);
    const Design base = planning::atPoint(measured, request.point);
    DesignMeasure measure(request.target, monitor);
    QString message;
    answer.base = measure.at(base, &message);
    if (!std::isfinite(answer.base)) {
        *error = measure.cancelled() ? QStringLiteral("Cancelled!") : message;
        return false;
    }

    QList<InputField> varied;
    for (const InputField& field : base.inputs.fields()) {
        if (field.enabled)
            varied << field;
    }
    if (monitor != nullptr)
        monitor->setTotalSteps(varied.size());
    // The inputs are varied on every core, each thread taking the next input
    // not yet taken; the calling thread works too and reports the progress.
    QVector<SensitivityEntry> entries(varied.size());
    QVector<QString> failures(varied.size());
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    std::atomic<bool> cancelled{false};
    const auto work = [&](bool reporting) {
        DesignMeasure varying(request.target, monitor);
        for (int k = next++; k < varied.size() && !cancelled; k = next++) {
            const InputField& field = varied[k];
            SensitivityEntry& entry = entries[k];
            entry.key = field.key;
            entry.name = field.name;
            try {
                entry.value = base.inputs.valueAt(field.key, 0);
            } catch (const QString& text) {
                failures[k] = text;
                cancelled = true;
                break;
            }
            const auto [low, high] = wantedValues(base, field.key, entry.value, request.spread);
            const Variation lower =
                measuredToward(varying, base, field.key, entry.value, low, answer.base);
            const Variation upper =
                measuredToward(varying, base, field.key, entry.value, high, answer.base);
            entry.low = lower.value;
            entry.high = upper.value;
            entry.measureLow = lower.measure;
            entry.measureHigh = upper.measure;
            if (!std::isfinite(entry.measureLow))
                entry.message = lower.message;
            else if (!std::isfinite(entry.measureHigh))
                entry.message = upper.message;
            if (varying.cancelled()) {
                failures[k] = QStringLiteral("Cancelled!");
                cancelled = true;
            }
            ++done;
            if (reporting && monitor != nullptr)
                monitor->setStep(done);
        }
    };
    std::vector<std::thread> threads;
    const int count = std::min<int>(varied.size(), std::max(1, QThread::idealThreadCount()));
    for (int t = 1; t < count; ++t)
        threads.emplace_back(work, false);
    work(true);
    for (std::thread& thread : threads)
        thread.join();
    for (const QString& failure : failures) {
        if (!failure.isNull()) {
            *error = failure;
            return false;
        }
    }
    for (const SensitivityEntry& entry : entries)
        answer.inputs << entry;
    // An input whose variation cannot be computed heads the list: nothing
    // matters more than a guess that breaks the design.
    std::stable_sort(answer.inputs.begin(), answer.inputs.end(),
                     [&](const SensitivityEntry& a, const SensitivityEntry& b) {
                         return a.swing(answer.base) > b.swing(answer.base);
                     });
    if (monitor != nullptr)
        monitor->setStep(varied.size());
    *result = answer;
    return true;
}

} // namespace sensitivity
