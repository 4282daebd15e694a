#include "studies/planning/PlanTarget.h"

#include "numerics/NormalDistribution.h"
#include "studies/common/PrecisionTable.h"

#include <cmath>
#include <limits>

double PlanTarget::measureOf(double estimate, double variance) const
{
    if (measure == Power) {
        const double power = effect.powerOf(quantity, estimate, variance);
        return std::isfinite(variance) && !std::isnan(power) ? power : 0.0;
    }
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
    case Power:
        break;
    }
    if (estimate == 0.0)
        return std::numeric_limits<double>::infinity();
    return se / std::fabs(estimate);
}

bool PlanTarget::isMetBy(double achieved) const
{
    // A power beyond 1 is the infinite measure of a design that could not be
    // computed: it meets nothing.
    return measure == Power ? achieved >= value && achieved <= 1.0 : achieved <= value;
}

bool PlanTarget::isBetter(double a, double b) const
{
    if (measure == Power)
        return (a <= 1.0 ? a : -1.0) > (b <= 1.0 ? b : -1.0);
    return a < b;
}

double PlanTarget::growthToMeet(double achieved) const
{
    if (measure != Power) {
        if (!std::isfinite(achieved) || !(achieved > 0))
            return 1.0;
        return (achieved / value) * (achieved / value);
    }
    // The power's first term alone, Φ(d − z) with d = |q − q0| / σ, read
    // backwards: d = z + z(power). The variance falls as d² rises.
    const double z =
        normalQuantile(effect.twoSided ? 1.0 - effect.alpha / 2.0 : 1.0 - effect.alpha);
    const double now = z + normalQuantile(achieved);
    const double needed = z + normalQuantile(value);
    if (!std::isfinite(now) || !std::isfinite(needed) || !(now > 0))
        return 1.0;
    return (needed / now) * (needed / now);
}

QString PlanTarget::error() const
{
    const bool inRange = measure == Power ? value > 0 && value < 1 : value > 0;
    if (!inRange || !std::isfinite(value))
        return QStringLiteral("The target %1 of %2 must be a number %3: %4 was asked")
            .arg(measureName(measure), quantity,
                 measure == Power ? QStringLiteral("between 0 and 1") : QStringLiteral("above 0"),
                 QString::number(value, 'g', 6));
    if (measure != Power)
        return QString();
    if (!effect.hasNullValue(quantity))
        return QStringLiteral("The power of %1 needs its null value, the value of no effect: "
                              "only St, T and Sdam have one (1) unless given")
            .arg(quantity);
    return effect.error();
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
    case Power:
        return QStringLiteral("Power");
    case CoefficientOfVariation:
        break;
    }
    return QStringLiteral("CV");
}

QStringList PlanTarget::measureKeys()
{
    return {QStringLiteral("se"), QStringLiteral("hw90"), QStringLiteral("hw95"),
            QStringLiteral("cv"), QStringLiteral("power")};
}

QString PlanTarget::describe() const
{
    if (measure == Power)
        return QStringLiteral("Power of %1 at least %2 (null value %3, %4)")
            .arg(quantity, QString::number(value, 'g', 6),
                 QString::number(effect.nullValueOf(quantity), 'g', 6), effect.describe());
    return QStringLiteral("%1 of %2 at most %3")
        .arg(measureName(measure), quantity, QString::number(value, 'g', 6));
}
