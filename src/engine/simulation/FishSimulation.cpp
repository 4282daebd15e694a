#include "engine/simulation/FishSimulation.h"

#include "engine/simulation/BinomialDraw.h"
#include "engine/simulation/ChainProbabilities.h"

SegmentCounts simulateSegmentCounts(const ReleaseChain& chain,
                                    const std::vector<double>& parameters, SimulationStream& stream)
{
    ChainProbabilities p;
    readChainProbabilities(chain, parameters, p);
    const int K = chain.reachCount();
    SegmentCounts counts(K);
    // alive[a]: the fish at the current site, alive and undetected since they
    // started a segment at site a. Fish are independent, so each such cohort
    // splits into binomial counts exactly as its fish one by one would.
    std::vector<long long> alive(static_cast<std::size_t>(K + 1), 0);
    const auto released = [&chain](int site) {
        return static_cast<long long>(chain.releaseSizes[static_cast<std::size_t>(site)]);
    };
    for (int j = 0; j < K; ++j) {
        alive[j] += released(j);
        long long returned = 0;
        for (int start = 0; start <= j; ++start) {
            const long long n = alive[start];
            if (n == 0)
                continue;
            const long long survivors = binomialDraw(n, p.survival[j], stream);
            const long long detected = binomialDraw(survivors, p.detection[j], stream);
            const long long removed = binomialDraw(detected, chain.removals[j], stream);
            counts.neverSeen[start] += static_cast<double>(n - survivors);
            counts.detectedAt(start, j + 1) += static_cast<double>(detected);
            alive[start] = survivors - detected;
            returned += detected - removed;
        }
        alive[j + 1] = returned;
    }
    alive[K] += released(K);
    for (int start = 0; start <= K; ++start) {
        const long long seen = binomialDraw(alive[start], p.lambda, stream);
        counts.detectedAt(start, counts.finalSite()) += static_cast<double>(seen);
        counts.neverSeen[start] += static_cast<double>(alive[start] - seen);
    }
    return counts;
}

std::vector<SegmentCounts> simulateDesign(const ReleaseDesign& design, SimulationStream& stream)
{
    std::vector<SegmentCounts> data;
    data.reserve(design.chains.size());
    for (const ReleaseChain& chain : design.chains)
        data.push_back(simulateSegmentCounts(chain, design.trueValues, stream));
    return data;
}
