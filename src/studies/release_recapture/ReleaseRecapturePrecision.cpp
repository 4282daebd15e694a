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
    precision.known.resize(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) {
        precision.x.append(table(i, 0));
        const std::vector<double> values = results.quantities(i);
        const std::vector<bool> known = results.knownQuantities(i);
        for (int q = 0; q < quantities; ++q) {
            precision.estimates(i, q) = values[static_cast<std::size_t>(q)];
            precision.variances(i, q) = table(i, q + 1);
            // Natural variability between replicates makes a known
            // parameter vary again.
            precision.known[static_cast<std::size_t>(i)].push_back(
                known[static_cast<std::size_t>(q)] && table(i, q + 1) == 0.0);
        }
    }
    return precision;
}
