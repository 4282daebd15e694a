#include "studies/planning/search/PlanSolves.h"

#include "studies/planning/search/PlanSearch.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

namespace planning {

bool solveReleaseSize(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                      PlanRow* row, QString* error)
{
    const QStringList keys = planner::releaseFields(point);
    QList<int> base;
    long total = 0;
    long maximum = LONG_MAX;
    for (const QString& key : keys) {
        base << point.inputs.intValueAt(key, 0);
        total += base.last();
    }
    if (total <= 0) {
        *error = QStringLiteral("No fish are released in %1: the release sizes scale from what "
                                "the design releases")
                     .arg(listed(keys));
        return false;
    }
    // Scaled with the base's own proportions, every field stays below its
    // maximum up to this total.
    for (int k = 0; k < keys.size(); ++k) {
        if (base[k] > 0)
            maximum = std::min(maximum,
                               long(std::floor(double(fieldMaximum(point.inputs.field(keys[k]))) *
                                               double(total) / base[k])));
    }
    const int high = static_cast<int>(std::min<long>(maximum, INT_MAX - 1));

    std::map<int, Measured> measured;
    // Release sizes of 0 stay 0 and are left as they are.
    const auto fieldsAt = [&](int n) {
        const QList<int> parts = proportionalSplit(base, n);
        QList<QPair<QString, QString>> fields;
        for (int k = 0; k < keys.size(); ++k) {
            if (base[k] > 0)
                fields.append({keys[k], QString::number(parts[k])});
        }
        return fields;
    };
    const auto measureAt = [&](int n) {
        auto found = measured.find(n);
        if (found == measured.end()) {
            Design scaled = point;
            for (const auto& [key, text] : fieldsAt(n))
                scaled.inputs.field(key).text = text;
            found = measured.emplace(n, measure(scaled)).first;
        }
        return found->second.measure;
    };

    const int start = static_cast<int>(std::min<long>(total, high));
    const double current = measureAt(start);
    const qint64 guess = proportionalGuess(start, current, request.target.value);
    const int n = static_cast<int>(
        std::min<qint64>(high + 1LL, smallestMeeting(1, high, guess, request.target,
                                                     [&](qint64 n) { return measureAt(int(n)); })));
    if (measure.cancelled)
        return true;
    if (n > high) {
        row->message =
            QStringLiteral("cannot be met with up to %1 fish: %2 = %3 there")
                .arg(high)
                .arg(PlanTarget::measureName(request.target.measure), measureText(measureAt(high)));
        row->achieved = measureAt(high);
        return true;
    }
    row->met = true;
    row->fields = fieldsAt(n);
    row->answer = QStringLiteral("%1 fish: %2").arg(n).arg(fieldsText(row->fields));
    row->achieved = measureAt(n);
    if (n > 1) {
        row->shortMeasure = measureAt(n - 1);
        row->shortAnswer = QStringLiteral("%1 fish").arg(n - 1);
    } else {
        row->shortMeasure = std::nan("");
    }
    return true;
}

} // namespace planning
