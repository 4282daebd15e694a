#include "studies/sensitivity/DesignMeasure.h"

#include "forms/core/InputField.h"
#include "studies/common/RunMonitor.h"
#include "studies/planning/DesignComputation.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// The computations report nothing; they only see the caller's cancel.
class CancelOnlyMonitor : public RunMonitor
{
public:
    explicit CancelOnlyMonitor(RunMonitor* outer)
        : outer(outer)
    {}

    void setTotalSteps(int) override {}
    void setStep(int) override {}
    bool isCanceled() const override { return outer != nullptr && outer->isCanceled(); }
    void error(const QString&) override {}
    void setCanceled(bool) override {}

private:
    RunMonitor* outer;
};

} // namespace

DesignMeasure::DesignMeasure(const PlanTarget& target, RunMonitor* monitor)
    : target_(target)
    , monitor(monitor)
{}

QList<double> DesignMeasure::atPoints(const Design& design, QString* message)
{
    const int points = std::max(1, design.inputs.numPoints());
    QList<double> measures;
    if (cancelled_ || (monitor != nullptr && monitor->isCanceled())) {
        cancelled_ = true;
        for (int i = 0; i < points; ++i)
            measures << infinity;
        return measures;
    }
    const std::unique_ptr<DesignComputation> computation = DesignComputation::of(design);
    CancelOnlyMonitor quiet(monitor);
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
    // A run ends at its first point that fails: over a range, the points are
    // measured one by one so that the others keep their measures.
    if (outcome == DesignComputation::Failed && points > 1) {
        for (int i = 0; i < points; ++i)
            measures << at(atPoint(design, i), message);
        return measures;
    }
    if (message != nullptr)
        *message = text;
    for (int i = 0; i < points; ++i)
        measures << infinity;
    return measures;
}

double DesignMeasure::at(const Design& design, QString* message)
{
    return atPoints(design, message).value(0, infinity);
}

Design DesignMeasure::measured(const Design& design)
{
    Design planned = design;
    if (design.kind == Design::SingleRelease)
        planned.options.totalSurvival = true;
    return planned;
}

Design DesignMeasure::atPoint(const Design& design, int i)
{
    Design point = design;
    const QString holder = design.inputs.rangeHolder();
    if (!holder.isEmpty()) {
        point.inputs.field(holder).text = numberText(design.inputs.pointAt(i));
        point.inputs.setRangeHolder(QString());
    }
    return point;
}

Design DesignMeasure::with(const Design& design, const QString& key, double value)
{
    Design varied = design;
    varied.inputs.field(key).text = numberText(value);
    return varied;
}

QString DesignMeasure::numberText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

bool DesignMeasure::accepts(const Design& design, const QString& key, double value)
{
    const InputField& field = design.inputs.field(key);
    if (!(value >= field.editMin && value < field.editMax))
        return false;
    if (field.editType == RangeArithmetic::Integer && value != std::floor(value))
        return false;
    const Design varied = with(design, key, value);
    return refusedField(varied.inputs, designs::info(design.kind).firstIllegal(varied.inputs))
        .isNull();
}

bool DesignMeasure::largerIsWorse(const PlanTarget&)
{
    // Every measure so far is a spread: the larger, the worse.
    return true;
}
