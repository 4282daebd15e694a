#pragma once

#include "numerics/Matrix.h"
#include "studies/common/PrecisionTable.h"
#include "studies/release_recapture/ReleaseRecaptureRecord.h"
#include "studies/release_recapture/ReleaseRecaptureResults.h"

// The variances a single- or paired-release run shows, in the report, the
// plot and every other reader alike.

// The results' variance table at the record's x values (column 0 the ranged
// value, column c + 1 the variance of parameterNames()[c]) with, when the
// record's replicates are in use, the replicate adjustment applied to the
// column of the replicate parameter. replicateColumn, when given, receives
// that column, or -1 when no column was adjusted.
Matrix shownVarianceTable(const ReleaseRecaptureRecord& record,
                          const ReleaseRecaptureResults& results, int* replicateColumn = nullptr);

// Every named quantity of the results (CompositeS too when it is shown) at
// every computed point, with the variances of shownVarianceTable.
PrecisionTable releaseRecapturePrecisionTable(const ReleaseRecaptureRecord& record,
                                              const ReleaseRecaptureResults& results);
