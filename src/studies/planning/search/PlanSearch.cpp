#include "studies/planning/search/PlanSearch.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>

namespace planning {

qint64 smallestMeeting(qint64 low, qint64 high, qint64 guess, const PlanTarget& target,
                       const std::function<double(qint64)>& measureAt)
{
    const auto met = [&](qint64 n) { return target.isMetBy(measureAt(n)); };
    qint64 below = low - 1;
    qint64 above = high + 1;
    const qint64 start = std::clamp(guess, low, high);
    if (met(start)) {
        above = start;
        for (qint64 step = 1; above > low; step *= 2) {
            const qint64 n = std::max(low, above - step);
            if (!met(n)) {
                below = n;
                break;
            }
            above = n;
        }
    } else {
        below = start;
        for (qint64 step = 1; below < high; step *= 2) {
            const qint64 n = std::min(high, below + step);
            if (met(n)) {
                above = n;
                break;
            }
            below = n;
        }
    }
    if (above > high)
        return above;
    while (above - below > 1) {
        const qint64 mid = below + (above - below) / 2;
        if (met(mid))
            above = mid;
        else
            below = mid;
    }
    return above;
}

qint64 proportionalGuess(qint64 n, double measure, double target)
{
    if (!std::isfinite(measure))
        return n;
    const double guess = std::ceil(double(n) * (measure / target) * (measure / target) - 1e-9);
    return guess > double(INT_MAX) ? INT_MAX : std::max<qint64>(1, qint64(guess));
}

int fieldMaximum(const InputField& field)
{
    const double limit = std::min(field.editMax, double(INT_MAX) + 1.0);
    return static_cast<int>(std::ceil(limit) - 1.0);
}

QList<int> proportionalSplit(const QList<int>& base, long total)
{
    long sum = 0;
    for (int b : base)
        sum += b;
    QList<int> parts;
    QList<QPair<double, int>> remainders;
    long given = 0;
    for (int k = 0; k < base.size(); ++k) {
        const double exact = double(total) * base[k] / double(sum);
        parts << static_cast<int>(std::floor(exact));
        given += parts.last();
        remainders.append({exact - std::floor(exact), k});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int r = 0; given < total && r < remainders.size(); ++r, ++given)
        ++parts[remainders[r].second];
    return parts;
}

Design atPoint(const Design& design, int i)
{
    Design point = design;
    const QString holder = design.inputs.rangeHolder();
    if (!holder.isEmpty()) {
        point.inputs.field(holder).text = numberText(design.inputs.pointAt(i));
        point.inputs.setRangeHolder(QString());
    }
    return point;
}

QString numberText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString measureText(double measure)
{
    return std::isfinite(measure) ? QString::number(measure, 'g', 4) : QStringLiteral("none");
}

QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}

QString fieldsText(const QList<QPair<QString, QString>>& fields)
{
    QStringList parts;
    for (const auto& [key, text] : fields)
        parts << key + QStringLiteral(" = ") + text;
    return parts.join(QStringLiteral(", "));
}

} // namespace planning
