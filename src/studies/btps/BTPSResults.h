#pragma once

#include "studies/common/PrecisionTable.h"

#include <QVector>

struct BTPSParameters;

// What a balloon-tag run found: the variance of the passage survival estimate
// T at each computed point, in point order.
struct BTPSResults
{
    QVector<double> variances;

    int pointCount() const { return variances.size(); }
    // The one quantity "T" with its true value and variance at each computed
    // point of the record's range.
    PrecisionTable precisionTable(const BTPSParameters& record) const;
};
