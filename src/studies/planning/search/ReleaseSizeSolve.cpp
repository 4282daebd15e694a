#include "studies/planning/search/PlanSolves.h"

#include "studies/planning/search/PlanSearch.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

namespace planning {

bool solveReleaseSize(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                      PlanRow* row, QString* error)
{
    const QStringList keys = planner::releaseFields(point);
    const QList<QPair<QString, QString>> links = planner::releaseLinks(point);
    QList<int> base;
    // Each field's fish counted once for itself and once for every release
    // size that follows it.
    QList<int> multiplicity;
    long total = 0;
    long maximum = LONG_MAX;
    for (const QString& key : keys) {
        base << point.inputs.intValueAt(key, 0);
        total += base.last();
        multiplicity << 1;
        for (const auto& link : links)
            multiplicity.last() += link.second == key;
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
    // The fields the user sets hold n fish between them, in the base's
    // proportions, and every release size following one of them its number.
    // Release sizes of 0 stay 0 and are left as they are.
    const auto fieldsAt = [&](int n) {
        const QList<int> parts = proportionalSplit(base, n);
        QList<QPair<QString, QString>> fields;
        for (int k = 0; k < keys.size(); ++k) {
            if (base[k] > 0)
                fields.append({keys[k], QString::number(parts[k])});
        }
        for (const auto& [follower, leader] : links) {
            const int k = static_cast<int>(keys.indexOf(leader));
            if (k >= 0 && base[k] > 0)
                fields.append({follower, QString::number(parts[k])});
        }
        return fields;
    };
    // Every fish the design releases when its fields hold n between them.
    const auto releasedAt = [&](int n) {
        const QList<int> parts = proportionalSplit(base, n);
        qint64 released = 0;
        for (int k = 0; k < keys.size(); ++k)
            released += qint64(multiplicity[k]) * parts[k];
        return released;
    };
    const auto answerText = [&](int n) {
        QStringList parts;
        for (const auto& [key, text] : fieldsAt(n)) {
            const bool follows = !keys.contains(key);
            parts << key + QStringLiteral(" = ") + text +
                         (follows ? QStringLiteral(" (linked)") : QString());
        }
        return QStringLiteral("%1 fish: %2").arg(releasedAt(n)).arg(parts.join(", "));
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
                .arg(releasedAt(high))
                .arg(PlanTarget::measureName(request.target.measure), measureText(measureAt(high)));
        row->achieved = measureAt(high);
        return true;
    }
    row->met = true;
    row->fields = fieldsAt(n);
    row->answer = answerText(n);
    row->achieved = measureAt(n);
    if (n > 1) {
        row->shortMeasure = measureAt(n - 1);
        row->shortAnswer = QStringLiteral("%1 fish").arg(releasedAt(n - 1));
    } else {
        row->shortMeasure = std::nan("");
    }
    return true;
}

} // namespace planning
