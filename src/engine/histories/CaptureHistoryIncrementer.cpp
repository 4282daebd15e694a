#include "engine/histories/CaptureHistoryIncrementer.h"

#include <stdexcept>

CaptureHistoryIncrementer::CaptureHistoryIncrementer(int positionCount, int releaseSite)
    : current(positionCount)
    , releaseSite(releaseSite)
{
    if (releaseSite < 0 || releaseSite >= positionCount)
        throw std::invalid_argument("CaptureHistoryIncrementer: release site outside the river");
}
