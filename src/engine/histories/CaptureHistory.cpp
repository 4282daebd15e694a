#include "engine/histories/CaptureHistory.h"

#include <stdexcept>

CaptureHistory::CaptureHistory(int positionCount)
    : bitCount(positionCount + 2)
{
    if (positionCount < 0)
        throw std::invalid_argument("CaptureHistory: negative number of sites");
    words.assign(static_cast<std::size_t>(bitCount + 31) / 32, 0u);
}

int CaptureHistory::releaseSite() const
{
    for (int site = 0; site < removedBit(); ++site)
        if (bit(site))
            return site;
    return bitCount;
}

void CaptureHistory::see(int site)
{
    setBit(site, true);
    if (site > lastSeen)
        lastSeen = site;
}

void CaptureHistory::unsee(int site)
{
    setBit(site, false);
    if (site != lastSeen)
        return;
    lastSeen = 0;
    for (int s = site - 1; s >= 0; --s) {
        if (bit(s)) {
            lastSeen = s;
            break;
        }
    }
}

void CaptureHistory::setBit(int index, bool on)
{
    const std::uint32_t mask = 1u << (index % 32);
    std::uint32_t& word = words[static_cast<std::size_t>(index) / 32];
    word = on ? (word | mask) : (word & ~mask);
}
