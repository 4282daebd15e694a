#pragma once

#include "engine/histories/CaptureHistory.h"

// Steps through every capture history a fish released at one site can show,
// in a fixed order; the likelihood builds one multinomial cell per history.
class CaptureHistoryIncrementer
{
public:
    // Histories over sites 0 .. positionCount of a fish released at
    // releaseSite, which must lie in 0 .. positionCount − 1.
    CaptureHistoryIncrementer(int positionCount, int releaseSite);
    virtual ~CaptureHistoryIncrementer() = default;

    // Advances to the next history and returns true, or returns false once
    // the histories are exhausted (and on every call after that).
    virtual bool increment() = 0;

    const CaptureHistory& history() const { return current; }

protected:
    CaptureHistory current;
    int releaseSite;
    bool started = false;
};
