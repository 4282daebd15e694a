#include "studies/release_recapture/ReleaseRecapturePrecision.h"

#include "studies/release_recapture/ReplicateAdjustment.h"

Matrix shownVarianceTable(const ReleaseRecaptureRecord& record,
                          const ReleaseRecaptureResults& results, int* replicateColumn)
{
    Matrix table = results.varianceTable(record.xValues());
    int column = -1;
    if (record.options.replicatesInUse())
        column = applyReplicateAdjustment(
            table, results.parameterNames(), record.options.replicateParameter,
            record.options.replicateCount, record.options.naturalVariance, record.rangeName);
    if (replicateColumn != nullptr)
        *replicateColumn = column;
    return table;
}

PrecisionTable releaseRecapturePrecisionTable(const ReleaseRecaptureRecord& record,
                                              const ReleaseRecaptureResults& results)
{
    PrecisionTable precision;
    precision.xName = record.hasRange() ? record.rangeName : QString();
    precision.xType = record.range.editType();
    precision.names = results.parameterNames();
    const Matrix table = shownVarianceTable(record, results);
    const int points = results.count();
    const int quantities = static_cast<int>(precision.names.size());
    precision.estimates.resize(points, quantities);
    precision.variances.resize(points, quantities);
    for (int i = 0; i < points; ++i) {
        precision.x.append(table(i, 0));
        const std::vector<double> values = results.quantities(i);
        for (int q = 0; q < quantities; ++q) {
            precision.estimates(i, q) = values[static_cast<std::size_t>(q)];
            precision.variances(i, q) = table(i, q + 1);
        }
    }
    return precision;
}
