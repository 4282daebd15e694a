#include "studies/btps/BTPSResults.h"

#include "studies/btps/BTPSParameters.h"

PrecisionTable BTPSResults::precisionTable(const BTPSParameters& record) const
{
    return PrecisionTable::ofOneQuantity(
        QStringLiteral("T"), record.rangeName, record.range.editType(), pointCount(), [&](int i) {
            return PrecisionTable::Point{record.x[i], record.t[i], variances[i]};
        });
}
