#pragma once

#include "studies/common/PrecisionTable.h"

#include <QVector>

struct VWPParameters;

// The precision of one point of the virtual paired-release design: the
// variances of the three releases' first-reach survival estimates Ŝ1, Ŝ2, Ŝ3,
// and the variance and standard error of Ŝdam = Ŝ1·Ŝ3/Ŝ2.
struct VWPPointResult
{
    double varS1 = 0.0;
    double varS2 = 0.0;
    double varS3 = 0.0;
    double varSdam = 0.0;
    double seSdam = 0.0;
    // Which of Ŝ1, Ŝ2, Ŝ3 are known exactly (a survival and the detections
    // after it of 1, see ReleaseRecaptureInformation), their variance 0.
    bool knownS1 = false;
    bool knownS2 = false;
    bool knownS3 = false;

    // Ŝdam is known when all three are.
    bool knownSdam() const { return knownS1 && knownS2 && knownS3; }
};

// What a virtual paired-release run found, one entry per computed point.
struct VWPResults
{
    QVector<VWPPointResult> points;

    int pointCount() const { return points.size(); }
    // The one quantity "Sdam" with its true value and variance at each
    // computed point of the record's range.
    PrecisionTable precisionTable(const VWPParameters& record) const;
};
