#pragma once

#include "engine/information/ReleaseChain.h"

#include <cstddef>
#include <vector>

// The data of one group of fish, summarised as the likelihood needs them (the
// m-array of a release-recapture study): how many fish started a segment at
// site a (released there, or detected there and returned to the river) and
// were next detected at site b, or were never seen again. Sites are numbered
// as in ReleaseChain: 0 .. K for the K reaches with their own S and P, and
// K + 1 for the final site, where detection is lambda. The counts are doubles
// so that expected counts, which are not whole numbers, can be fitted too.
struct SegmentCounts
{
    explicit SegmentCounts(int reaches = 0)
        : reachCount(reaches)
        , detected(static_cast<std::size_t>(reaches + 1) * static_cast<std::size_t>(reaches + 2))
        , neverSeen(static_cast<std::size_t>(reaches + 1))
    {}

    int finalSite() const { return reachCount + 1; }

    // The fish that started at site start and were next detected at site
    // site, start < site <= finalSite().
    double& detectedAt(int start, int site) { return detected[index(start, site)]; }
    double detectedAt(int start, int site) const { return detected[index(start, site)]; }

    int reachCount;
    // Row start, column site, (K + 1) x (K + 2); entries with site <= start
    // stay 0.
    std::vector<double> detected;
    // The fish that started a segment at site a and were never seen again.
    std::vector<double> neverSeen;

private:
    std::size_t index(int start, int site) const
    {
        return static_cast<std::size_t>(start) * static_cast<std::size_t>(reachCount + 2) +
               static_cast<std::size_t>(site);
    }
};

// The expected segment counts of chain at parameters: with A_a the expected
// number starting a segment at site a, A_a q(a, b) next detected at b and
// A_a chi_a never seen again (q and chi as derived in ReleaseChain.cpp), where
// A_0 = N_0 and A_b = N_b + (1 - c_{b-1}) sum_{a<b} A_a q(a, b).
SegmentCounts expectedSegmentCounts(const ReleaseChain& chain,
                                    const std::vector<double>& parameters);
