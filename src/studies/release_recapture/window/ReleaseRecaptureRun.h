#pragma once

#include "studies/common/QVRun.h"
#include "studies/release_recapture/ReleaseRecaptureRecord.h"
#include "studies/release_recapture/ReleaseRecaptureResults.h"

// The run of a single- or paired-release design on the background runner. It
// computes from the record taken when it was made and keeps the results,
// which the window reads after the runner has reported the end of the run:
// every point when it completed, the points before a cancel or a failed point
// otherwise.
class ReleaseRecaptureRun : public QVRun
{
    Q_OBJECT

public:
    using QVRun::QVRun;

    virtual const ReleaseRecaptureRecord& record() const = 0;
    // None before the run, or when it failed before its first point.
    virtual const ReleaseRecaptureResults* results() const = 0;
    int resultCount() const { return results() ? results()->count() : 0; }
};
