#pragma once

#include "studies/release_recapture/SingleReleaseRecord.h"
#include "studies/release_recapture/SingleReleaseResults.h"
#include "studies/release_recapture/window/ReleaseRecaptureRun.h"

#include <memory>

// The single-release run: computeSingleRelease on the runner's thread.
class SingleReleaseRun : public ReleaseRecaptureRun
{
    Q_OBJECT

public:
    SingleReleaseRun(ryn::ThreadRunner* runner, std::shared_ptr<const SingleReleaseRecord> record);

    void run() override;
    const SingleReleaseRecord& record() const override { return *inputs; }
    const SingleReleaseResults* results() const override { return computed.get(); }

private:
    std::shared_ptr<const SingleReleaseRecord> inputs;
    std::unique_ptr<SingleReleaseResults> computed;
};
