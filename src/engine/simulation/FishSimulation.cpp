#include "engine/simulation/FishSimulation.h"

#include "engine/simulation/ChainProbabilities.h"

namespace {

struct ChainChances
{
    std::vector<Chance> survives, detected, removed;
    Chance finalDetected{0.0};
};

ChainChances chancesOf(const ReleaseChain& chain, const std::vector<double>& parameters)
{
    ChainProbabilities p;
    readChainProbabilities(chain, parameters, p);
    ChainChances chances;
    for (int j = 0; j < chain.reachCount(); ++j) {
        chances.survives.emplace_back(p.survival[j]);
        chances.detected.emplace_back(p.detection[j]);
        chances.removed.emplace_back(chain.removals[j]);
    }
    chances.finalDetected = Chance(p.lambda);
    return chances;
}

// One fish released at site release; its segments are added to counts.
void followFish(const ChainChances& chances, int release, SimulationStream& stream,
                SegmentCounts& counts)
{
    const int K = counts.reachCount;
    int start = release;
    for (int j = release; j < K; ++j) {
        if (!chances.survives[j].happens(stream)) {
            counts.neverSeen[start] += 1.0;
            return;
        }
        if (!chances.detected[j].happens(stream))
            continue;
        counts.detectedAt(start, j + 1) += 1.0;
        if (chances.removed[j].happens(stream))
            return;
        start = j + 1;
    }
    if (chances.finalDetected.happens(stream))
        counts.detectedAt(start, counts.finalSite()) += 1.0;
    else
        counts.neverSeen[start] += 1.0;
}

} // namespace

SegmentCounts simulateSegmentCounts(const ReleaseChain& chain,
                                    const std::vector<double>& parameters, SimulationStream& stream)
{
    const ChainChances chances = chancesOf(chain, parameters);
    SegmentCounts counts(chain.reachCount());
    for (int site = 0; site <= chain.reachCount(); ++site) {
        const auto released = static_cast<long long>(chain.releaseSizes[site]);
        for (long long fish = 0; fish < released; ++fish)
            followFish(chances, site, stream, counts);
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
