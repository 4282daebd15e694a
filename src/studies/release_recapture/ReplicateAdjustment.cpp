#include "studies/release_recapture/ReplicateAdjustment.h"

int applyReplicateAdjustment(Matrix& varianceTable, const QStringList& names,
                             const QString& parameterName, int replicateCount,
                             double naturalVariance, const QString& rangedInputName)
{
    const int position = names.indexOf(parameterName);
    const int column = position + 1;
    if (position < 0 || column >= varianceTable.cols())
        return -1;

    const bool rangedReplicates = rangedInputName == QStringLiteral("Replicates");
    const bool rangedVariability = rangedInputName == QStringLiteral("Variability");
    for (int row = 0; row < varianceTable.rows(); ++row) {
        const double r = rangedReplicates ? varianceTable(row, 0) : replicateCount;
        const double sigmaSquared = rangedVariability ? varianceTable(row, 0) : naturalVariance;
        if (r > 0.0)
            varianceTable(row, column) = (sigmaSquared + varianceTable(row, column)) / r;
    }
    return column;
}
