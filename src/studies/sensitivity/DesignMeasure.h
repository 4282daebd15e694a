#pragma once

#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"
#include "studies/planning/search/PlanMeasurer.h"

#include <QList>
#include <QString>

class RunMonitor;

// The measure of one quantity (its SE, a half-width, its CV) for designs
// varied around a base design, each computed along the window's own path.
// The sensitivity of a design and the bands over uncertain inputs measure
// every variation through it: a design without a range as the planner
// measures it, a ranged one in one run. A design that cannot be computed
// measures infinite, with the program's message.
class DesignMeasure
{
public:
    // monitor, when given, may cancel between computations; it sees no
    // progress.
    DesignMeasure(const PlanTarget& target, RunMonitor* monitor);

    // The measure at every point of design's range (one point without a
    // range); *message says why a point is infinite.
    QList<double> atPoints(const Design& design, QString* message = nullptr);
    // The measure of a design without a range; *refused, when given, tells
    // whether its run refused its inputs.
    double at(const Design& design, QString* message = nullptr, bool* refused = nullptr);

    bool cancelled() const { return cancelled_ || single.cancelled; }
    const PlanTarget& target() const { return target_; }

    // design as it is measured for target: the single release computes its
    // total survival when "CompositeS" is measured.
    static Design measured(const Design& design, const PlanTarget& target);
    // design with field key holding value, written as the field would hold it.
    static Design with(const Design& design, const QString& key, double value);
    // Whether the design takes value in field key: the field's own bounds
    // (withinField) and the design's checks.
    static bool accepts(const Design& design, const QString& key, double value);
    // Whether value lies within field key's own bounds, a whole number in a
    // field of whole numbers.
    static bool withinField(const Design& design, const QString& key, double value);
    // Whether a larger measure is a worse precision.
    static bool largerIsWorse(const PlanTarget& target);

private:
    PlanTarget target_;
    RunMonitor* monitor;
    planning::PlanMeasurer single;
    bool cancelled_ = false;
};
