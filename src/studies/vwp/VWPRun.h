#pragma once

#include "studies/common/QVRun.h"
#include "studies/vwp/VWPParameters.h"
#include "studies/vwp/VWPResults.h"

#include <memory>

// One run of the virtual paired-release design on the background runner, from the
// record its window took before starting it. The window reads the results
// once the runner has reported the run complete.
class VWPRun : public QVRun
{
public:
    VWPRun(ryn::ThreadRunner* runner, std::shared_ptr<const VWPParameters> record);

    // The error text of an earlier run is cleared first.
    void run() override;

    const VWPParameters& record() const { return *record_; }
    const VWPResults& results() const { return results_; }

private:
    std::shared_ptr<const VWPParameters> record_;
    VWPResults results_;
};
