#include "studies/common/PrecisionTable.h"

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
