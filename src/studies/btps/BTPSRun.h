#pragma once

#include "studies/btps/BTPSParameters.h"
#include "studies/btps/BTPSResults.h"
#include "studies/common/QVRun.h"

#include <memory>

// One run of the balloon-tag design on the background runner, from the
// record its window took before starting it. The window reads the results
// once the runner has reported the run complete.
class BTPSRun : public QVRun
{
public:
    BTPSRun(ryn::ThreadRunner* runner, std::shared_ptr<const BTPSParameters> record);

    void run() override;

    const BTPSParameters& record() const { return *record_; }
    const BTPSResults& results() const { return results_; }

private:
    std::shared_ptr<const BTPSParameters> record_;
    BTPSResults results_;
};
