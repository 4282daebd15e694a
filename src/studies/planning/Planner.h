#pragma once

#include "forms/core/RangeArithmetic.h"
#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

class RunMonitor;

// What to solve for so that a design meets a target.
struct PlanRequest
{
    enum Solve {
        // Every release size scaled together, in proportion: the fewest fish,
        // counting those of the release sizes that follow a linked one.
        ReleaseSize,
        // The two groups of a paired, balloon-tag or transport design: the
        // split of a total that gives the target quantity its smallest
        // variance, and the smallest total meeting the target at its split.
        Split,
        // One probability of the design (a detection probability, a
        // survival, Lambda): the smallest value in (0, 1] meeting the target,
        // with the other stretches of values that meet it.
        Probability,
    };

    Solve solve = ReleaseSize;
    PlanTarget target;
    // The probability solved for, by its parameter name ("P2").
    QString field;
    // The total the split divides; 0 for the design's own total.
    qint64 total = 0;
};

// The answer at one point of the design's range.
struct PlanRow
{
    // The ranged input's value (0 without a range).
    double x = 0.0;
    // The target is met at the answer; else message says why not.
    bool met = false;
    QString message;
    // The inputs to write into the form, by parameter name, and the answer
    // as the table shows it ("R0 = 4120", "P2 = 0.734").
    QList<QPair<QString, QString>> fields;
    // Switches to set with them (a split unlinks the two release sizes).
    QMap<QString, bool> switches;
    QString answer;
    // The fish the answer releases in all (a release size or split solved
    // for); 0 otherwise.
    qint64 totalFish = 0;
    // The target's measure at the answer, and one fish or one step short of
    // it (infinite when the design cannot be computed there, NaN when there
    // is no such step).
    double achieved = 0.0;
    double shortMeasure = 0.0;
    QString shortAnswer;
    // A split: the best split of the given total and the measure there.
    QString bestSplit;
    double bestSplitMeasure = 0.0;
};

// The planner's answer for every point of the design's range.
struct Plan
{
    PlanRequest request;
    // The ranged input's name; empty without a range.
    QString xName;
    RangeArithmetic::EditType xType = RangeArithmetic::Real;
    QList<PlanRow> rows;

    // The rows' heading as one sentence, for the report and the log.
    QString title() const;
};

namespace planner {

// Plans design to meet request at every point of its range. A request the
// design cannot take (a target not above 0, a quantity it does not estimate,
// a probability it does not have, a split of a design without two groups, a
// total beyond a release field's maximum, the solved input holding the range,
// inputs the design refuses) answers false with *error naming what was asked
// and what is possible. A target that cannot be met at a point is a row
// saying so. monitor, when given, sees one step per point and may cancel
// (false, *error "Cancelled!").
bool plan(const Design& design, const PlanRequest& request, Plan* plan, QString* error,
          RunMonitor* monitor = nullptr);

// What plan() refuses a request for before it computes any point (the texts
// listed above), or a null text when it takes the request.
QString requestRefusal(const Design& design, const PlanRequest& request);

// The design as a plan computes it: the single release's total survival is
// computed when it is the target.
Design plannedDesign(const Design& design, const PlanTarget& target);

// design with its release sizes scaled together, keeping their proportions,
// as the release-size solve scales them, to the most fish in all (linked
// release sizes counted) that stay within fish; fields receives the sizes
// written and released the fish released in all. False with *error when the
// design releases no fish, fish are too few, or a size would pass its
// field's largest value.
bool scaledTo(const Design& design, qint64 fish, Design* scaled,
              QList<QPair<QString, QString>>* fields, qint64* released, QString* error);

// design with the answer of row written into its inputs: the form's fields
// as "Use this" leaves them.
Design withAnswer(const Design& design, const PlanRow& row);

// The quantities a target may name for design: those its report lists, and
// the single release's total survival "CompositeS"; empty, with *error, when
// the design cannot be computed.
QStringList quantities(const Design& design, QString* error);
// The probabilities the planner may solve for: the enabled inputs of design
// whose check takes every value in (0, 1] ("P1", "S2", "Lambda").
QStringList probabilityFields(const Design& design);
// The release-size inputs the planner scales: the design's enabled whole
// number inputs; and for a two-group design its control and treatment
// release sizes (empty for the others).
QStringList releaseFields(const Design& design);
QPair<QString, QString> groupFields(Design::Kind kind);
// The release sizes of design that follow another while linked, each with
// the field it follows: (follower, leader).
QList<QPair<QString, QString>> releaseLinks(const Design& design);

} // namespace planner
