#include "studies/tirr/TIRRResults.h"

#include "studies/tirr/TIRRParameters.h"

PrecisionTable TIRRResults::precisionTable(const TIRRParameters& record) const
{
    return PrecisionTable::ofOneQuantity(
        QStringLiteral("T"), record.rangeName, record.range.editType(), pointCount(), [&](int i) {
            return PrecisionTable::Point{record.x[i], record.t[i], variances[i]};
        });
}
