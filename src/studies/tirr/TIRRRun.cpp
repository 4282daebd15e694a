#include "studies/tirr/TIRRRun.h"

#include "studies/tirr/TIRRComputation.h"

TIRRRun::TIRRRun(ryn::ThreadRunner* runner, std::shared_ptr<const TIRRParameters> record)
    : QVRun(runner)
    , record_(std::move(record))
{}

void TIRRRun::run()
{
    results_ = computeTIRR(*record_, *this);
}
