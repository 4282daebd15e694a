#include "studies/release_recapture/ReleaseRecaptureRecord.h"

#include <cmath>

void ReleaseRecaptureRecord::takeRange(const StudyInputs& inputs,
                                       QStringList (*columnsOf)(const QString& fieldName))
{
    rangeName = inputs.rangeName();
    range = inputs.range();
    rangedColumns = hasRange() ? columnsOf(rangeName) : QStringList();
    x = inputs.numPoints() > 0 ? inputs.points() : QList<double>();
}

void ReleaseRecaptureOptions::check(const QStringList& quantities) const
{
    if (!replicatesInUse())
        return;
    if (!(naturalVariance >= 0.0 && std::isfinite(naturalVariance)))
        throw QStringLiteral("Natural variability must be a finite number of at least 0");
    if (!quantities.contains(replicateParameter))
        throw QStringLiteral("Replicate parameter must be one of ") +
            quantities.join(QStringLiteral(", ")) + QStringLiteral(": \"") + replicateParameter +
            QStringLiteral("\" is not");
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
