#include "studies/planning/PlanTarget.h"

#include "studies/common/PrecisionTable.h"

#include <cmath>
#include <limits>

double PlanTarget::measureOf(double estimate, double variance) const
{
    if (!std::isfinite(variance) || variance < 0)
        return std::numeric_limits<double>::infinity();
    const double se = std::sqrt(variance);
    switch (measure) {
    case StandardError:
        return se;
    case HalfWidth90:
        return halfWidth90(se);
    case HalfWidth95:
        return halfWidth95(se);
    case CoefficientOfVariation:
        break;
    }
    if (estimate == 0.0)
        return std::numeric_limits<double>::infinity();
    return se / std::fabs(estimate);
}

QString PlanTarget::measureName(Measure measure)
{
    switch (measure) {
    case StandardError:
        return QStringLiteral("SE");
    case HalfWidth90:
        return QStringLiteral("90% half-width");
    case HalfWidth95:
        return QStringLiteral("95% half-width");
    case CoefficientOfVariation:
        break;
    }
    return QStringLiteral("CV");
}

QStringList PlanTarget::measureKeys()
{
    return {QStringLiteral("se"), QStringLiteral("hw90"), QStringLiteral("hw95"),
            QStringLiteral("cv")};
}

QString PlanTarget::describe() const
{
    return QStringLiteral("%1 of %2 at most %3")
        .arg(measureName(measure), quantity, QString::number(value, 'g', 6));
}
