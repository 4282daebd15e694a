#pragma once

#include <cstdint>
#include <vector>

// The capture history of one tagged fish over the sites 0 .. F of a river:
// bit s tells whether the fish was seen at site s (its release site counts as
// seen), and one more bit tells whether it was removed at its last detection,
// which ends the history there.
class CaptureHistory
{
public:
    // A history over sites 0 .. positionCount with every bit clear.
    explicit CaptureHistory(int positionCount);

    // The lowest site seen, or the bit count when none is.
    int releaseSite() const;
    // The highest site seen (the release site when the fish is never seen
    // again).
    int lastDetection() const { return lastSeen; }
    int finalSite() const { return bitCount - 2; }

    bool isSeen(int site) const { return bit(site); }
    bool isRemoved() const { return bit(removedBit()); }
    // True when the fish was removed at site, which is its last detection.
    bool isRemovedAt(int site) const { return site == lastSeen && isRemoved(); }

    void see(int site);
    void unsee(int site);
    void markRemoved() { setBit(removedBit(), true); }
    void clearRemoved() { setBit(removedBit(), false); }

private:
    int removedBit() const { return bitCount - 1; }
    bool bit(int index) const
    {
        return (words[static_cast<std::size_t>(index) / 32] >> (index % 32)) & 1u;
    }
    void setBit(int index, bool on);

    int bitCount;
    int lastSeen = 0;
    std::vector<std::uint32_t> words;
};
