#include "studies/release_recapture/ReleaseRecaptureRecord.h"

void ReleaseRecaptureRecord::takeRange(const StudyInputs& inputs,
                                       QStringList (*columnsOf)(const QString& fieldName))
{
    rangeName = inputs.rangeName();
    range = inputs.range();
    rangedColumns = hasRange() ? columnsOf(rangeName) : QStringList();
    x = inputs.numPoints() > 0 ? inputs.points() : QList<double>();
}
