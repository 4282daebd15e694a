#include "studies/vwp/VWPRun.h"

#include "studies/vwp/VWPComputation.h"

VWPRun::VWPRun(ryn::ThreadRunner* runner, std::shared_ptr<const VWPParameters> record)
    : QVRun(runner)
    , record_(std::move(record))
{}

void VWPRun::run()
{
    clearErrorMessage();
    results_ = computeVWP(*record_, *this);
}
