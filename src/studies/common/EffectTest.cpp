#include "studies/common/EffectTest.h"

#include "numerics/NormalDistribution.h"

#include <cmath>

double waldPower(double estimate, double se, double nullValue, double alpha, bool twoSided)
{
    if (!(se >= 0.0) || std::isnan(estimate) || std::isnan(nullValue) || !(alpha > 0.0) ||
        !(alpha < 1.0))
        return std::numeric_limits<double>::quiet_NaN();
    const double distance = std::fabs(estimate - nullValue);
    const double z = normalQuantile(twoSided ? 1.0 - alpha / 2.0 : 1.0 - alpha);
    if (se == 0.0) {
        // No spread at all: the test rejects every false null value and, at
        // the null value itself, keeps its level.
        return distance > 0.0 ? 1.0 : alpha;
    }
    const double standardised = distance / se;
    const double power = normalCdf(standardised - z);
    return twoSided ? power + normalCdf(-standardised - z) : power;
}

const QStringList& EffectTest::ratioQuantities()
{
    static const QStringList names = {QStringLiteral("St"), QStringLiteral("T"),
                                      QStringLiteral("Sdam")};
    return names;
}

double EffectTest::nullValueOf(const QString& quantity) const
{
    const auto given = nullValues.constFind(quantity);
    if (given != nullValues.constEnd())
        return given.value();
    if (!std::isnan(commonNull))
        return commonNull;
    return ratioQuantities().contains(quantity) ? 1.0 : std::numeric_limits<double>::quiet_NaN();
}

bool EffectTest::hasNullValue(const QString& quantity) const
{
    return !std::isnan(nullValueOf(quantity));
}

double EffectTest::powerOf(const QString& quantity, double estimate, double variance) const
{
    if (!(variance >= 0.0))
        return std::numeric_limits<double>::quiet_NaN();
    return waldPower(estimate, std::sqrt(variance), nullValueOf(quantity), alpha, twoSided);
}

bool EffectTest::isDefault() const
{
    return *this == EffectTest();
}

QString EffectTest::error() const
{
    if (!(alpha > 0.0) || !(alpha < 1.0))
        return QStringLiteral("The level alpha must lie between 0 and 1: %1 was given")
            .arg(QString::number(alpha, 'g', 6));
    for (auto value = nullValues.constBegin(); value != nullValues.constEnd(); ++value) {
        if (!std::isfinite(value.value()))
            return QStringLiteral("The null value of %1 must be a number").arg(value.key());
    }
    if (std::isinf(commonNull))
        return QStringLiteral("The null value must be a number");
    return QString();
}

QString EffectTest::describe() const
{
    return QStringLiteral("%1 test at alpha = %2")
        .arg(twoSided ? QStringLiteral("two-sided") : QStringLiteral("one-sided"),
             QString::number(alpha, 'g', 6));
}

bool operator==(const EffectTest& a, const EffectTest& b)
{
    const bool sameCommon =
        (std::isnan(a.commonNull) && std::isnan(b.commonNull)) || a.commonNull == b.commonNull;
    return a.nullValues == b.nullValues && sameCommon && a.alpha == b.alpha &&
           a.twoSided == b.twoSided;
}
