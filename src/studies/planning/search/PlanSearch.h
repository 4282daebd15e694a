#pragma once

#include "forms/core/InputField.h"
#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

// What the planner's solves share: the searches over whole numbers, the
// proportional scaling of release sizes and the texts of their answers.
namespace planning {

// A probability is solved for on a grid of this many steps in (0, 1].
constexpr int probabilitySteps = 1000;

// The smallest n in [low, high] whose measure meets the target, the measure
// falling as n grows: tried first at guess and below it (where a good guess
// finds the answer with two computations), then by doubling steps to a
// bracket and by bisection within it. Answers high + 1 when even high does
// not meet the target. measureAt keeps what it computed.
qint64 smallestMeeting(qint64 low, qint64 high, qint64 guess, const PlanTarget& target,
                       const std::function<double(qint64)>& measureAt);

// The guess from the exact proportionality: every variance is proportional
// to 1/n, so a measure m at n fish becomes the target at n·(m/target)².
qint64 proportionalGuess(qint64 n, double measure, double target);

// The largest whole number an Integer field can take.
int fieldMaximum(const InputField& field);

// Splits total into whole numbers in the proportions of base, by the largest
// remainders, so that they add up to total.
QList<int> proportionalSplit(const QList<int>& base, long total);

// A design whose range holder is fixed at its value at point i: the design
// a plan varies at that point.
Design atPoint(const Design& design, int i);

// A number as a field holds it: without exponent, with the fewest digits
// that read back as the same double.
QString numberText(double value);
// A measure as an answer shows it; "none" where there is none.
QString measureText(double measure);
// "a, b and c".
QString listed(const QStringList& items);
// "R0 = 4120, R1 = 1373".
QString fieldsText(const QList<QPair<QString, QString>>& fields);

} // namespace planning
