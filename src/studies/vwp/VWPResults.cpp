#include "studies/vwp/VWPResults.h"

#include "studies/vwp/VWPParameters.h"

PrecisionTable VWPResults::precisionTable(const VWPParameters& record) const
{
    return PrecisionTable::ofOneQuantity(QStringLiteral("Sdam"), record.rangeName,
                                         record.range.editType(), pointCount(), [&](int i) {
                                             return PrecisionTable::Point{
                                                 record.x[i], record.sDam[i], points[i].varSdam,
                                                 points[i].knownSdam()};
                                         });
}
