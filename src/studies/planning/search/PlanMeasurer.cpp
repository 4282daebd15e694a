#include "studies/planning/search/PlanMeasurer.h"

#include "studies/planning/DesignComputation.h"

namespace planning {

Measured PlanMeasurer::operator()(const Design& design)
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    if (cancelled)
        return {infinity, QStringLiteral("Cancelled!")};
    const std::unique_ptr<DesignComputation> computation = DesignComputation::of(design);
    QString message;
    const DesignComputation::Outcome outcome = computation->run(quiet, &message);
    if (outcome == DesignComputation::Cancelled)
        cancelled = true;
    if (outcome != DesignComputation::Computed)
        return {infinity, message, outcome == DesignComputation::Refused};
    const PrecisionTable table = computation->precisionTable();
    const int q = static_cast<int>(table.names.indexOf(target.quantity));
    if (q < 0 || table.pointCount() != 1)
        return {infinity, QStringLiteral("No %1 computed").arg(target.quantity)};
    return {target.measureOf(table.estimates(0, q), table.variances(0, q)), QString()};
}

} // namespace planning
