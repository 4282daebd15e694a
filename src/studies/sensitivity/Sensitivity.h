#pragma once

#include "studies/design/Design.h"
#include "studies/planning/PlanTarget.h"

#include <QList>
#include <QPair>
#include <QString>

class RunMonitor;

// What a sensitivity analysis asks: the quantity and how its precision is
// measured (the target's value is not used), the relative spread by which
// every input is varied, and the point of the design's range it is varied
// at.
struct SensitivityRequest
{
    PlanTarget target;
    double spread = 0.1;
    // Counted from 0.
    int point = 0;
};

// One input varied on its own: its value, the values below and above it,
// and the measure at each (infinite when the design cannot be computed
// there, with the program's message).
struct SensitivityEntry
{
    // The input's name in design files ("P2"), and its name in the form.
    QString key;
    QString name;
    double value = 0.0;
    double low = 0.0;
    double high = 0.0;
    double measureLow = 0.0;
    double measureHigh = 0.0;
    QString message;

    // The length of the entry's bar in a tornado chart: from the least to
    // the greatest of base, measureLow and measureHigh.
    double swing(double base) const;
};

// Which guess matters: every input of a design varied one at a time, the
// inputs ordered by the size of the change they make to the measure, the
// largest first.
struct Sensitivity
{
    SensitivityRequest request;
    // The ranged input's name and its value at the point; an empty name
    // without a range.
    QString xName;
    double x = 0.0;
    double base = 0.0;
    QList<SensitivityEntry> inputs;

    // "SE of S1 at R0 = 1000, inputs varied by 10%".
    QString title() const;
};

namespace sensitivity {

// The sensitivity of design at request.point. Every enabled input is varied
// to value × (1 − spread) and value × (1 + spread), kept in its domain: a
// probability in (0, 1], a release size a whole number of fish, at least 1
// and at least one fish away from its value, any other input within what the
// design accepts. A request the design cannot take (a spread outside (0, 1),
// a quantity it does not estimate, a point outside its range, inputs it
// refuses or cannot compute) answers false with *error. monitor, when given,
// sees one step per input and may cancel (*error "Cancelled!").
bool analyse(const Design& design, const SensitivityRequest& request, Sensitivity* result,
             QString* error, RunMonitor* monitor = nullptr);

// The values an input of value value is varied to, as analyse varies them.
QPair<double, double> variedValues(const Design& design, const QString& key, double value,
                                   double spread);

} // namespace sensitivity
