#include "studies/vwp/VWPResults.h"

#include "studies/vwp/VWPParameters.h"

PrecisionTable VWPResults::precisionTable(const VWPParameters& record) const
{
    PrecisionTable table;
    table.xName = record.rangeName;
    table.xType = record.range.editType();
    table.names = QStringList{QStringLiteral("Sdam")};
    const int count = pointCount();
    table.estimates = Matrix(count, 1);
    table.variances = Matrix(count, 1);
    for (int i = 0; i < count; ++i) {
        table.x.append(record.x[i]);
        table.estimates(i, 0) = record.sDam[i];
        table.variances(i, 0) = points[i].varSdam;
    }
    return table;
}
