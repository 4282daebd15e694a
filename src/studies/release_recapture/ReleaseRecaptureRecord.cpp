#include "studies/release_recapture/ReleaseRecaptureRecord.h"

void ReleaseRecaptureRecord::takeRange(const StudyInputs& inputs,
                                       QStringList (*columnsOf)(const QString& fieldName))
{
    rangeName = inputs.rangeName();
    range = inputs.range();
    rangedColumns = hasRange() ? columnsOf(rangeName) : QStringList();
    x = inputs.numPoints() > 0 ? inputs.points() : QList<double>();
}

ReleaseRecaptureOptions ReleaseRecaptureOptions::of(const DesignOptions& options)
{
    ReleaseRecaptureOptions taken;
    taken.replicatesEnabled = options.replicatesEnabled;
    taken.replicateCount = options.replicateCount;
    taken.naturalVariance = options.naturalVariance.toDouble();
    taken.naturalVarianceText = options.naturalVariance;
    taken.replicateParameter = options.replicateParameter;
    taken.totalSurvival = options.totalSurvival;
    return taken;
}
