#include "studies/planning/search/PlanSolves.h"

#include "studies/planning/search/PlanSearch.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <map>

namespace planning {

bool solveSplit(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                PlanRow* row, QString* error)
{
    const QPair<QString, QString> groups = planner::groupFields(point.kind);
    const QString& control = groups.first;
    const QString& treatment = groups.second;
    const QString linkSwitch = QStringLiteral("linkReleases");

    // The two groups' sizes as the design has them: one that follows the
    // other while they are linked takes its value.
    Design unlinked = point;
    const bool linked = point.inputs.switches.value(linkSwitch, false);
    const QString leader = point.inputs.field(control).enabled ? control : treatment;
    const int controlNow = point.inputs.intValueAt(linked ? leader : control, 0);
    const int treatmentNow = point.inputs.intValueAt(linked ? leader : treatment, 0);
    unlinked.inputs.switches[linkSwitch] = false;
    designs::info(point.kind).applySwitches(unlinked.inputs);

    const qint64 high =
        std::min<qint64>(INT_MAX - 1, qint64(fieldMaximum(point.inputs.field(control))) +
                                          fieldMaximum(point.inputs.field(treatment)));
    const qint64 total = request.total > 0 ? request.total : qint64(controlNow) + treatmentNow;
    if (total > high) {
        *error = QStringLiteral("A total of %1 fish is beyond what %2 and %3 can hold: at most %4")
                     .arg(total)
                     .arg(control, treatment)
                     .arg(high);
        return false;
    }
    if (total < 2) {
        *error = QStringLiteral("A total of %1 fish cannot be split between %2 and %3: at least "
                                "2 are needed")
                     .arg(total)
                     .arg(control, treatment);
        return false;
    }

    std::map<QPair<int, int>, Measured> measured;
    const auto measureSplit = [&](int n, int c) {
        const QPair<int, int> key{n, c};
        auto found = measured.find(key);
        if (found == measured.end()) {
            Design split = unlinked;
            split.inputs.field(control).text = QString::number(c);
            split.inputs.field(treatment).text = QString::number(n - c);
            found = measured.emplace(key, measure(split)).first;
        }
        return found->second.measure;
    };

    // The split of the given total with the smallest variance: the measure
    // falls and then rises as fish move from one group to the other
    // (a/c + b/(n - c) for the closed-form designs), so thirds of the
    // interval are cut off until a few splits remain.
    int low = 1;
    int upper = static_cast<int>(total) - 1;
    while (upper - low > 2 && !measure.cancelled) {
        const int m1 = low + (upper - low) / 3;
        const int m2 = upper - (upper - low) / 3;
        if (measureSplit(int(total), m1) < measureSplit(int(total), m2))
            upper = m2 - 1;
        else
            low = m1 + 1;
    }
    int best = low;
    for (int c = low + 1; c <= upper; ++c) {
        if (measureSplit(int(total), c) < measureSplit(int(total), best))
            best = c;
    }
    if (measure.cancelled)
        return true;
    row->bestSplit =
        QStringLiteral("%1 = %2, %3 = %4").arg(control).arg(best).arg(treatment).arg(total - best);
    row->bestSplitMeasure = measureSplit(int(total), best);

    // The best split keeps its proportion as the total changes (every
    // variance is proportional to 1/n at a fixed proportion): the best whole
    // split of n lies next to that proportion of n.
    const double share = double(best) / double(total);
    // From there, one fish at a time towards the smaller measure.
    const auto bestControl = [&](int n) {
        int c = std::clamp(static_cast<int>(std::lround(share * n)), 1, n - 1);
        for (int direction : {1, -1}) {
            while (c + direction >= 1 && c + direction <= n - 1 &&
                   measureSplit(n, c + direction) < measureSplit(n, c))
                c += direction;
        }
        return c;
    };
    const auto measureAt = [&](qint64 n) {
        return n < 2 ? std::numeric_limits<double>::infinity()
                     : measureSplit(int(n), bestControl(int(n)));
    };
    const qint64 guess = proportionalGuess(total, row->bestSplitMeasure, request.target.value);
    const int n = static_cast<int>(smallestMeeting(2, high, guess, request.target, measureAt));
    if (measure.cancelled)
        return true;
    if (n > high) {
        row->message = QStringLiteral("cannot be met with up to %1 fish: %2 = %3 there")
                           .arg(high)
                           .arg(PlanTarget::measureName(request.target.measure),
                                measureText(measureAt(int(high))));
        row->achieved = measureAt(int(high));
        return true;
    }
    const int c = bestControl(n);
    row->met = true;
    row->switches = {{linkSwitch, false}};
    row->fields = {{control, QString::number(c)}, {treatment, QString::number(n - c)}};
    row->answer = QStringLiteral("%1 fish: %2").arg(n).arg(fieldsText(row->fields));
    row->achieved = measureAt(n);
    row->shortMeasure = n > 2 ? measureAt(n - 1) : std::nan("");
    if (n > 2)
        row->shortAnswer = QStringLiteral("%1 fish").arg(n - 1);
    return true;
}

} // namespace planning
