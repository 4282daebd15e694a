#pragma once

#include "studies/common/QVRun.h"
#include "studies/tirr/TIRRParameters.h"
#include "studies/tirr/TIRRResults.h"

#include <memory>

// One run of the transport design on the background runner, from the
// record its window took before starting it. The window reads the results
// once the runner has reported the run complete.
class TIRRRun : public QVRun
{
public:
    TIRRRun(ryn::ThreadRunner* runner, std::shared_ptr<const TIRRParameters> record);

    void run() override;

    const TIRRParameters& record() const { return *record_; }
    const TIRRResults& results() const { return results_; }

private:
    std::shared_ptr<const TIRRParameters> record_;
    TIRRResults results_;
};
