#pragma once

#include "studies/common/EffectTest.h"

#include <QString>
#include <QStringList>

// What a study must achieve for one of its quantities: a standard error, a
// 90% or 95% confidence half-width, or a coefficient of variation (SE over the
// estimate) no larger than a value, or a power of the test of its effect no
// smaller than a value. The planner searches the inputs that meet it; the
// dialog and the calculator read it from their user.
struct PlanTarget
{
    enum Measure { StandardError, HalfWidth90, HalfWidth95, CoefficientOfVariation, Power };

    PlanTarget() = default;
    PlanTarget(const QString& quantity, Measure measure, double value,
               const EffectTest& effect = EffectTest())
        : quantity(quantity)
        , measure(measure)
        , value(value)
        , effect(effect)
    {}

    // The quantity by its name in the report ("S1", "CompositeS", "T").
    QString quantity;
    Measure measure = StandardError;
    double value = 0.0;
    // The test whose power a Power target asks for.
    EffectTest effect;

    // The measure of an estimate with variance variance; for a measure of
    // precision infinite, for power 0, when it cannot be had (a variance that
    // is not finite, a CV of a zero estimate, a quantity without null value).
    double measureOf(double estimate, double variance) const;
    // A measure of precision meets the target at or below its value, power
    // at or above it.
    bool isMetBy(double measure) const;
    // Whether measure a is closer to meeting the target than b.
    bool isBetter(double a, double b) const;
    // By how much the release sizes must grow for a measure to meet the
    // target, every variance being proportional to 1 / fish: the ratio of the
    // variance there to the variance that just meets the target. 1 when it
    // cannot be told.
    double growthToMeet(double measure) const;
    // A null string, or why the target cannot be planned for: a value that
    // is not above 0 (or, for power, not below 1), a power without a null
    // value for its quantity or with a test that cannot be made.
    QString error() const;
    // How precision is measured, as a column head: "SE", "95% half-width",
    // "Power".
    static QString measureName(Measure measure);
    // The names the calculator's --target takes, in the order of Measure:
    // se, hw90, hw95, cv, power.
    static QStringList measureKeys();
    // "95% half-width of S1 at most 0.05", "Power of St at least 0.8".
    QString describe() const;
};
