#pragma once

#include "studies/release_recapture/PairedReleaseRecord.h"
#include "studies/release_recapture/PairedReleaseResults.h"
#include "studies/release_recapture/window/ReleaseRecaptureRun.h"

#include <memory>

// The paired-release run: computePairedRelease on the runner's thread.
class PairedReleaseRun : public ReleaseRecaptureRun
{
    Q_OBJECT

public:
    PairedReleaseRun(ryn::ThreadRunner* runner, std::shared_ptr<const PairedReleaseRecord> record);

    void run() override;
    const PairedReleaseRecord& record() const override { return *inputs; }
    const PairedReleaseResults* results() const override { return computed.get(); }

private:
    std::shared_ptr<const PairedReleaseRecord> inputs;
    std::unique_ptr<PairedReleaseResults> computed;
};
