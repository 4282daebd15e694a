#pragma once

#include "studies/simulation/DesignSimulation.h"
#include "studies/vwp/VWPParameters.h"

// The check of the virtual paired-release design: its three releases (V1
// down two reaches, R2 and R3 down one, see vwpSurvivals) drawn as binomial
// counts from one stream, V1 first, each fitted by maximum likelihood as a single
// release, and Sdam = Ŝ1·Ŝ3/Ŝ2 with the variance of sdamVariance from the
// three fits' own variances. Its quantities are Sdam, S1, S2 and S3. A data
// set fails when any of its three fits fails, is on a boundary when any of
// them is, and has standard errors only when all three have.
class VirtualReleaseSimulation : public DesignSimulation
{
public:
    // Reads the record; throws the QString of a value that cannot be read.
    explicit VirtualReleaseSimulation(const Design& design);

    int pointCount() const override { return record.pointCount(); }
    QString rangeName() const override { return record.rangeName; }
    double xAt(int point) const override { return record.x.at(point); }
    QStringList quantityNames() const override;

protected:
    Model modelAt(int point) const override;

private:
    VWPParameters record;
};
