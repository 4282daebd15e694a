#pragma once

#include "forms/core/RangeArithmetic.h"
#include "numerics/Matrix.h"
#include "studies/common/EffectTest.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Half-widths of the confidence intervals of an estimate with standard error
// se, from the normal quantiles 1.645 (90%) and 1.96 (95%).
constexpr double halfWidth90(double se)
{
    return 1.645 * se;
}
constexpr double halfWidth95(double se)
{
    return 1.96 * se;
}

// The one rule for a variance a result may show: positive and finite, or
// exactly 0 for a quantity known exactly (a probability of 1 that the data
// would show to be 1). A point with any other variance is a failed point.
bool isShowableVariance(double variance, bool known = false);

// The refusal of inputs under which a closed-form design's variance would be
// 0 or not finite, naming the input and the rule ("Pa must be below 1 while
// Sc and T are 1", "Pa must be large enough for the variance of T to be
// finite"). inputs are the names of the fields the variance is made of, in
// the order to blame them; the ranged one among them is named, else the
// first. The others are listed for a variance of 0.
QString degenerateVarianceText(double variance, const QStringList& inputs, const QString& rangeName,
                               const QString& quantity);

// The message of a closed-form design's point i whose variance breaks that
// rule: "Variance not positive and finite: step = " and i.
QString unshowableVarianceText(int i);

// How a report marks a quantity known exactly: "<name> = <value>: known, not
// estimated".
QString knownNote(const QString& name, double value);

// The precision a run found for its quantities at every point, in the one
// shape its readers share: the plot draws it, the results export and the
// command-line calculator write it, the planner searches it. Variances are
// those the report shows (replicates applied where the design has them).
struct PrecisionTable
{
    // The ranged input's name; empty without a range.
    QString xName;
    RangeArithmetic::EditType xType = RangeArithmetic::Real;
    // The quantities, in the order the report lists them.
    QStringList names;
    // The value of the ranged input at each point (0 without a range).
    QList<double> x;
    // points × names: the true value of each quantity, and its variance.
    Matrix estimates;
    Matrix variances;
    // points × names: the quantity is known exactly at the point (a
    // probability of 1 that the data would show to be 1), its variance 0 not
    // an estimate's. Empty where no quantity is known.
    std::vector<std::vector<bool>> known;

    int pointCount() const { return x.size(); }
    bool isKnown(int point, int q) const;
    // One knownNote per quantity known at some point, followed over a range
    // by the points where it is (", at <xName> = a, b") unless it is known at
    // every point.
    QStringList knownNotes() const;
    // The table the plot takes: column 0 the ranged value, column k + 1 the
    // variance of names[k].
    Matrix plotData() const;
    // The same shape with the power of test in column k + 1: NaN where
    // names[k] has no null value.
    Matrix powerData(const EffectTest& test) const;

    // One point of a design that estimates one quantity.
    struct Point
    {
        double x;
        double estimate;
        double variance;
        bool known = false;
    };
    // The table of a design that estimates the one quantity name, with count
    // points given by point(i).
    static PrecisionTable ofOneQuantity(const QString& name, const QString& xName,
                                        RangeArithmetic::EditType xType, int count,
                                        const std::function<Point(int)>& point);
};
