#pragma once

#include <QString>
#include <QStringList>

// What a study must achieve for one of its quantities: a standard error, a
// 90% or 95% confidence half-width, or a coefficient of variation (SE over the
// estimate) no larger than a value. The planner searches the inputs that
// meet it; the dialog and the calculator read it from their user.
struct PlanTarget
{
    enum Measure { StandardError, HalfWidth90, HalfWidth95, CoefficientOfVariation };

    // The quantity by its name in the report ("S1", "CompositeS", "T").
    QString quantity;
    Measure measure = StandardError;
    double value = 0.0;

    // The measure of an estimate with variance variance; infinite when it
    // cannot be had (a variance that is not finite, a CV of a zero estimate).
    double measureOf(double estimate, double variance) const;
    bool isMetBy(double measure) const { return measure <= value; }
    // How precision is measured, as a column head: "SE", "95% half-width".
    static QString measureName(Measure measure);
    // The names the calculator's --target takes, in the order of Measure:
    // se, hw90, hw95, cv.
    static QStringList measureKeys();
    // "95% half-width of S1 at most 0.05".
    QString describe() const;
};
