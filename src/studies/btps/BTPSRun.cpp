#include "studies/btps/BTPSRun.h"

#include "studies/btps/BTPSComputation.h"

BTPSRun::BTPSRun(ryn::ThreadRunner* runner, std::shared_ptr<const BTPSParameters> record)
    : QVRun(runner)
    , record_(std::move(record))
{}

void BTPSRun::run()
{
    results_ = computeBTPS(*record_, *this);
}
