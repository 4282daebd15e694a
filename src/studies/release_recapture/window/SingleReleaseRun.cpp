#include "studies/release_recapture/window/SingleReleaseRun.h"

#include "studies/release_recapture/ReleaseRecaptureComputation.h"

SingleReleaseRun::SingleReleaseRun(ryn::ThreadRunner* runner,
                                   std::shared_ptr<const SingleReleaseRecord> record)
    : ReleaseRecaptureRun(runner)
    , inputs(std::move(record))
{}

// The covariance computation watches the run's own cancel flag, which only the
// run sets: the user's cancel is seen between points.
void SingleReleaseRun::run()
{
    computed = computeSingleRelease(*inputs, *this, cancelFlag());
}
