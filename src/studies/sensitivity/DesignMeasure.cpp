#include "studies/sensitivity/DesignMeasure.h"

#include "forms/core/InputField.h"
#include "studies/planning/DesignComputation.h"
#include "studies/planning/search/PlanSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

} // namespace

DesignMeasure::DesignMeasure(const PlanTarget& target, RunMonitor* monitor)
    : target_(target)
    , monitor(monitor)
    , single(target_, monitor)
{}

QList<double> DesignMeasure::atPoints(const Design& design, QString* message)
{
    const int points = std::max(1, design.inputs.numPoints());
    QList<double> measures;
    if (cancelled() || (monitor != nullptr && monitor->isCanceled())) {
        cancelled_ = true;
        for (int i = 0; i < points; ++i)
            measures << infinity;
        return measures;
    }
    if (design.inputs.rangeHolder().isEmpty()) {
        measures << at(design, message);
        return measures;
    }
    const std::unique_ptr<DesignComputation> computation = DesignComputation::of(design);
    planning::QuietMonitor quiet(monitor);
    QString text;
    const DesignComputation::Outcome outcome = computation->run(quiet, &text);
    if (outcome == DesignComputation::Cancelled)
        cancelled_ = true;
    if (outcome == DesignComputation::Computed) {
        const PrecisionTable table = computation->precisionTable();
        const int q = static_cast<int>(table.names.indexOf(target_.quantity));
        for (int i = 0; i < table.pointCount(); ++i)
            measures << (q < 0 ? infinity
                               : target_.measureOf(table.estimates(i, q), table.variances(i, q)));
        if (q < 0 && message != nullptr)
            *message = QStringLiteral("No %1 computed").arg(target_.quantity);
        return measures;
    }
    // A run ends at its first point that fails: the points are then
    // measured one by one so that the others keep their measures.
    if (outcome == DesignComputation::Failed) {
        for (int i = 0; i < points; ++i)
            measures << at(planning::atPoint(design, i), message);
        return measures;
    }
    if (message != nullptr)
        *message = text;
    for (int i = 0; i < points; ++i)
        measures << infinity;
    return measures;
}

double DesignMeasure::at(const Design& design, QString* message, bool* refused)
{
    const planning::Measured measured = single(design);
    if (message != nullptr && !measured.message.isEmpty())
        *message = measured.message;
    if (refused != nullptr)
        *refused = measured.refused;
    return measured.measure;
}

Design DesignMeasure::measured(const Design& design, const PlanTarget& target)
{
    Design planned = design;
    if (design.kind == Design::SingleRelease && target.quantity == QStringLiteral("CompositeS"))
        planned.options.totalSurvival = true;
    return planned;
}

Design DesignMeasure::with(const Design& design, const QString& key, double value)
{
    Design varied = design;
    varied.inputs.field(key).text = planning::numberText(value);
    return varied;
}

bool DesignMeasure::withinField(const Design& design, const QString& key, double value)
{
    const InputField& field = design.inputs.field(key);
    if (!(value >= field.editMin && value < field.editMax))
        return false;
    return field.editType != RangeArithmetic::Integer || value == std::floor(value);
}

bool DesignMeasure::accepts(const Design& design, const QString& key, double value)
{
    if (!withinField(design, key, value))
        return false;
    const Design varied = with(design, key, value);
    return refusedField(varied.inputs, designs::info(design.kind).firstIllegal(varied.inputs))
        .isNull();
}

bool DesignMeasure::largerIsWorse(const PlanTarget& target)
{
    // A spread (SE, half-width, CV) is worse the larger it is; a power, the
    // chance of detecting an effect, is worse the smaller.
    return PlanTarget::measureKeys().value(static_cast<int>(target.measure)) !=
           QStringLiteral("power");
}
