#pragma once

#include "studies/common/PrecisionTable.h"

#include <QVector>

struct TIRRParameters;

// What a transport run found: the variance of the estimate of the treatment
// effect T at each computed point, in point order.
struct TIRRResults
{
    QVector<double> variances;

    int pointCount() const { return variances.size(); }
    // The one quantity "T" with its true value and variance at each computed
    // point of the record's range.
    PrecisionTable precisionTable(const TIRRParameters& record) const;
};
