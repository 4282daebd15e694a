#pragma once

#include "engine/histories/CaptureHistoryIncrementer.h"

// The histories of a release-recapture design with removals. The detections
// at sites r+1 .. F count up as a binary number, site F the least significant
// digit, from never seen to seen everywhere; every pattern whose last
// detection lies before site F is followed by its twin in which the fish was
// removed there. With K = F − r that makes 2^K + 2^(K−1) − 1 histories.
class RRCaptureHistoryIncrementer : public CaptureHistoryIncrementer
{
public:
    using CaptureHistoryIncrementer::CaptureHistoryIncrementer;

    bool increment() override;

private:
    bool exhausted = false;
};
