#include "studies/release_recapture/window/PairedReleaseRun.h"

#include "studies/release_recapture/ReleaseRecaptureComputation.h"

PairedReleaseRun::PairedReleaseRun(ryn::ThreadRunner* runner,
                                   std::shared_ptr<const PairedReleaseRecord> record)
    : ReleaseRecaptureRun(runner)
    , inputs(std::move(record))
{}

// The covariance computation watches the run's own cancel flag, which only the
// run sets: the user's cancel is seen between points.
void PairedReleaseRun::run()
{
    computed = computePairedRelease(*inputs, *this, cancelFlag());
}
