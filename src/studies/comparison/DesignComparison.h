#pragma once

#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class RunMonitor;

// One design of a comparison: the name it is known by (its file, or its
// window's title), the design, and the quantity compared ("St", "T").
struct ComparedDesign
{
    QString label;
    Design design;
    QString quantity;
};

// What designs are compared on: the fewest fish that meet a target, or the
// measure each reaches with a budget of fish.
struct ComparisonRequest
{
    enum Mode { Target, Budget };

    Mode mode = Target;
    PlanTarget::Measure measure = PlanTarget::HalfWidth95;
    // The target's value; with a budget 0 for none (the measure alone).
    double value = 0.0;
    qint64 budget = 0;

    // Whether the answers say if a target is met: always against a target,
    // with a budget only when the target's value is given too.
    bool judgesMet() const { return mode == Target || value > 0; }
    // The target of one compared design, with its quantity and its test.
    PlanTarget targetFor(const ComparedDesign& compared) const;
    // "Fewest fish for a 95% half-width at most 0.05", "95% half-width with
    // 3000 fish".
    QString describe() const;
};

// The answer for one design.
struct ComparisonEntry
{
    QString label;
    // The design's name in design files ("paired"), and its title.
    QString design;
    QString title;
    QString quantity;
    // The answer could be had: a target met, or the design computed at the
    // budget; else message says why not.
    bool answered = false;
    // With a target: met at totalFish; with a budget: the measure meets the
    // target's value, when one is given (ComparisonRequest::judgesMet).
    bool met = false;
    QString message;
    // Every fish the design releases at the answer, and its release sizes.
    qint64 totalFish = 0;
    QList<QPair<QString, QString>> releaseSizes;
    // The measure there; with a target also one fish short of it (NaN when
    // there is none).
    double measure = 0.0;
    double shortMeasure = 0.0;
};

// The measure of one design against the fish it releases in all: the curve
// the comparison's plot draws.
struct ComparisonCurve
{
    QString label;
    QList<double> fish;
    QList<double> measure;
};

struct Comparison
{
    ComparisonRequest request;
    QList<ComparisonEntry> entries;

    // The entry answering with the fewest fish (a target) or the best
    // measure (a budget); -1 when none answered.
    int best() const;
};

namespace comparison {

constexpr int minimumDesigns = 2;
constexpr int maximumDesigns = 6;

// Compares designs on request. Each design is taken at the first point of a
// range it holds. With a target, each design's release sizes are solved for
// by the planner, which counts the fish exactly as its release-size solve
// does; with a budget, each design's release sizes are scaled in proportion
// to the budget and its measure computed there. Answers false with *error
// for a request that cannot be compared (fewer than two or more than six
// designs, a budget below 1, a target the planner refuses, a quantity a
// design does not estimate); a design that cannot meet a target or be
// computed at the budget is an entry saying why. monitor, when given, sees a
// step per design and may cancel (false, *error "Cancelled!").
bool compare(const QList<ComparedDesign>& designs, const ComparisonRequest& request,
             Comparison* comparison, QString* error, RunMonitor* monitor = nullptr);

// The measure of compared against the fish it releases, at count totals
// spread evenly on a log scale from fewest to most fish: points where the
// design cannot be computed are left out.
ComparisonCurve curve(const ComparedDesign& compared, const ComparisonRequest& request,
                      qint64 fewest, qint64 most, int count, RunMonitor* monitor = nullptr);

// The range of fish a comparison's plot spans: from half the fewest to twice
// the most fish of its answers (the budget alone without a target).
QPair<qint64, qint64> fishSpan(const Comparison& comparison);

// The answer as the reports show it: a head row ("Design", "File",
// "Quantity", "Total fish", "Release sizes", the measure, with a target the
// measure one fish short, "Answer"), then one row per design.
QList<QStringList> table(const Comparison& comparison);
// The sentence naming the design with the fewest fish or the best measure;
// empty when none answered.
QString verdict(const Comparison& comparison);
// The answer as comma-separated values: design, file, quantity, totalFish,
// releaseSizes, measure (its key), value, shortMeasure, met (empty with a
// budget and no target's value) and message.
QString csv(const Comparison& comparison);

// "paired.json:St" read into its file and quantity; false when there is no
// quantity after the last colon.
bool splitSource(const QString& text, QString* file, QString* quantity);

} // namespace comparison
