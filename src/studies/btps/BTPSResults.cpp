#include "studies/btps/BTPSResults.h"

#include "studies/btps/BTPSParameters.h"

PrecisionTable BTPSResults::precisionTable(const BTPSParameters& record) const
{
    PrecisionTable table;
    table.xName = record.rangeName;
    table.xType = record.range.editType();
    table.names = QStringList{QStringLiteral("T")};
    const int points = pointCount();
    table.estimates = Matrix(points, 1);
    table.variances = Matrix(points, 1);
    for (int i = 0; i < points; ++i) {
        table.x.append(record.x[i]);
        table.estimates(i, 0) = record.t[i];
        table.variances(i, 0) = variances[i];
    }
    return table;
}
