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
