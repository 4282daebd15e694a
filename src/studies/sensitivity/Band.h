#pragma once

#include "forms/core/RangeArithmetic.h"
#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"
#include "studies/planning/Planner.h"

#include <QList>
#include <QString>

class RunMonitor;

// One uncertain input: the interval its true value is guessed to lie in.
struct BandInput
{
    // The input's name in design files ("P2").
    QString key;
    double low = 0.0;
    double high = 0.0;
};

// Where the measure reaches one of its extremes over the box: the measure
// (infinite when the design cannot be computed there) and the inputs, in
// the box's order.
struct BandExtreme
{
    double measure = 0.0;
    QList<double> inputs;
    // Some input lies strictly inside its interval: the extreme is not at a
    // corner of the box.
    bool interior = false;
    QString message;
};

// The band at one point of the design's range.
struct BandRow
{
    // The ranged input's value (0 without a range).
    double x = 0.0;
    // The measure at the design's own inputs.
    double base = 0.0;
    BandExtreme min;
    BandExtreme max;
};

// How bad the precision gets when guesses are off: for a box of intervals of
// some inputs, the least and greatest measure of a quantity over the box at
// every point of a design's range, and where each is reached.
struct Band
{
    PlanTarget target;
    QList<BandInput> box;
    QString xName;
    RangeArithmetic::EditType xType = RangeArithmetic::Real;
    QList<BandRow> rows;

    // "P2 = 0.5..0.8, S1 = 0.8..0.9".
    QString boxText() const;
    // The extreme of worse precision: max while a larger measure is worse.
    const BandExtreme& worst(int row) const;
};

namespace bands {

// The most inputs a box may hold, and the grid points of each interval
// (the two ends among them) searched before the extremes are refined.
constexpr int maximumInputs = 4;
constexpr int gridPoints = 5;

// Reads a box "P2=0.5..0.8,S1=0.8..0.9"; false with *error for a text that
// is no such list.
bool parseBox(const QString& text, QList<BandInput>* box, QString* error);

// The band of target's measure over box at every point of design's range.
// Every grid point of the box (gridPoints per interval, its corners among
// them) is computed over the whole range; at each point the least and the
// greatest are refined, one input at a time, by a golden-section search
// next to where they were found, so that an extreme inside an interval is
// found too. A box the design cannot take (an input it does not have, is
// disabled, holds the range or is given twice, an interval out of the
// input's bounds or upside down, a fraction of fish, more than maximumInputs
// inputs, a quantity the design does not estimate, inputs it refuses)
// answers false with *error. monitor may cancel ("Cancelled!").
bool compute(const Design& design, const PlanTarget& target, const QList<BandInput>& box,
             Band* band, QString* error, RunMonitor* monitor = nullptr);

// design with the box's inputs at values.
Design withInputs(const Design& design, const QList<BandInput>& box, const QList<double>& values);

// The planner's answer when the guesses are as bad as the box allows: at
// every point of design's range, the design with the box's inputs at the
// worst case of the band of request's target, planned to request.
bool planWorstCase(const Design& design, const QList<BandInput>& box, const PlanRequest& request,
                   Plan* plan, Band* band, QString* error, RunMonitor* monitor = nullptr);

} // namespace bands
