#include "studies/common/PrecisionTable.h"

#include <cmath>

bool isShowableVariance(double variance, bool known)
{
    return known ? variance == 0.0 : variance > 0.0 && std::isfinite(variance);
}

QString degenerateVarianceText(double variance, const QStringList& inputs, const QString& rangeName,
                               const QString& quantity)
{
    const QString name = inputs.contains(rangeName) ? rangeName : inputs.value(0);
    if (variance == 0.0) {
        QStringList others = inputs;
        others.removeAll(name);
        return name + QStringLiteral(" must be below 1 while ") +
               others.join(QStringLiteral(" and ")) +
               (others.size() == 1 ? QStringLiteral(" is 1") : QStringLiteral(" are 1"));
    }
    return name + QStringLiteral(" must be large enough for the variance of ") + quantity +
           QStringLiteral(" to be finite");
}

QString unshowableVarianceText(int i)
{
    return QStringLiteral("Variance not positive and finite: step = ") + QString::number(i);
}

QString knownNote(const QString& name, double value)
{
    return name + QStringLiteral(" = ") + QString::number(value, 'g', 6) +
           QStringLiteral(": known, not estimated");
}

QStringList PrecisionTable::knownNotes() const
{
    QStringList notes;
    for (int q = 0; q < names.size(); ++q) {
        QStringList where;
        int first = -1;
        for (int i = 0; i < pointCount(); ++i) {
            if (!isKnown(i, q))
                continue;
            if (first < 0)
                first = i;
            where << QString::number(x[i], 'g', 6);
        }
        if (first < 0)
            continue;
        QString note = knownNote(names[q], estimates(first, q));
        if (!xName.isEmpty() && where.size() < pointCount())
            note += QStringLiteral(", at ") + xName + QStringLiteral(" = ") +
                    where.join(QStringLiteral(", "));
        notes << note;
    }
    return notes;
}

Matrix PrecisionTable::plotData() const
{
    Matrix data(pointCount(), names.size() + 1);
    for (int i = 0; i < pointCount(); ++i) {
        data(i, 0) = x[i];
        for (int k = 0; k < names.size(); ++k)
            data(i, k + 1) = variances(i, k);
    }
    return data;
}

Matrix PrecisionTable::powerData(const EffectTest& test) const
{
    Matrix data(pointCount(), names.size() + 1);
    for (int i = 0; i < pointCount(); ++i) {
        data(i, 0) = x[i];
        for (int k = 0; k < names.size(); ++k)
            data(i, k + 1) = test.powerOf(names[k], estimates(i, k), variances(i, k));
    }
    return data;
}

bool PrecisionTable::isKnown(int point, int q) const
{
    if (point < 0 || q < 0 || static_cast<std::size_t>(point) >= known.size())
        return false;
    const std::vector<bool>& row = known[static_cast<std::size_t>(point)];
    return static_cast<std::size_t>(q) < row.size() && row[static_cast<std::size_t>(q)];
}

PrecisionTable PrecisionTable::ofOneQuantity(const QString& name, const QString& xName,
                                             RangeArithmetic::EditType xType, int count,
                                             const std::function<Point(int)>& point)
{
    PrecisionTable table;
    table.xName = xName;
    table.xType = xType;
    table.names = QStringList{name};
    table.estimates = Matrix(count, 1);
    table.variances = Matrix(count, 1);
    for (int i = 0; i < count; ++i) {
        const Point p = point(i);
        table.x.append(p.x);
        table.estimates(i, 0) = p.estimate;
        table.variances(i, 0) = p.variance;
        if (p.known) {
            table.known.resize(static_cast<std::size_t>(count), std::vector<bool>(1, false));
            table.known[static_cast<std::size_t>(i)][0] = true;
        }
    }
    return table;
}
