#include "engine/simulation/ReleaseDesign.h"

#include "engine/likelihoods/DomainCheck.h"
#include "engine/likelihoods/LengthCheck.h"
#include "engine/simulation/ChainProbabilities.h"

#include <cmath>
#include <string>

namespace {

void requireIndex(const char* owner, const std::string& name, int index, int parameterCount)
{
    requireInDomain(owner, name, index, index >= 0 && index < parameterCount,
                    "a parameter index must lie inside the parameter vector");
}

// A survival factor multiplies the same base survival in every chain that
// uses it and is read nowhere else.
void requireFactorOfItsOwn(const char* owner, const std::vector<ReleaseChain>& chains, int factor)
{
    int base = -1;
    for (const ReleaseChain& chain : chains) {
        bool readHere = chain.lambdaIndex == factor;
        for (int j = 0; j < chain.reachCount(); ++j)
            readHere = readHere || chain.survivalIndices[j] == factor ||
                       chain.detectionIndices[j] == factor;
        requireInDomain(owner, "survival factor index", factor, !readHere,
                        "a survival factor must be a parameter of its own");
        if (chain.firstSurvivalFactorIndex != factor)
            continue;
        if (base < 0)
            base = chain.survivalIndices[0];
        requireInDomain(owner, "survival factor index", factor, chain.survivalIndices[0] == base,
                        "a survival factor must multiply the same survival in every chain");
    }
}

} // namespace

void checkReleaseChains(const char* owner, const std::vector<ReleaseChain>& chains,
                        int parameterCount)
{
    requireInDomain(owner, "chain count", static_cast<double>(chains.size()), !chains.empty(),
                    "a design needs at least one group of fish");
    for (std::size_t c = 0; c < chains.size(); ++c) {
        const ReleaseChain& chain = chains[c];
        const std::string name = "chain " + std::to_string(c);
        const int reaches = chain.reachCount();
        requireInDomain(owner, name + " reach count", reaches, reaches > 0,
                        "a chain needs at least one reach");
        requireLength(owner, chain.detectionIndices.size(), reaches, "detection indices");
        requireLength(owner, chain.removals.size(), reaches, "removal proportions");
        requireLength(owner, chain.releaseSizes.size(), reaches + 1, "release sizes");
        for (int j = 0; j < reaches; ++j) {
            requireIndex(owner, name + " survival index", chain.survivalIndices[j], parameterCount);
            requireIndex(owner, name + " detection index", chain.detectionIndices[j],
                         parameterCount);
        }
        requireIndex(owner, name + " lambda index", chain.lambdaIndex, parameterCount);
        requireRemovalProportions(owner, chain.removals);
        for (std::size_t s = 0; s < chain.releaseSizes.size(); ++s) {
            const double size = chain.releaseSizes[s];
            requireReleaseSize(owner, name + " release size " + std::to_string(s), size);
            requireInDomain(owner, name + " release size " + std::to_string(s), size,
                            size == std::floor(size), "a release size must be a whole number");
        }
        if (chain.firstSurvivalFactorIndex >= 0) {
            requireIndex(owner, name + " survival factor index", chain.firstSurvivalFactorIndex,
                         parameterCount);
            requireFactorOfItsOwn(owner, chains, chain.firstSurvivalFactorIndex);
        }
    }
}

void checkReleaseDesign(const char* owner, const ReleaseDesign& design)
{
    checkReleaseChains(owner, design.chains, static_cast<int>(design.trueValues.size()));
    ChainProbabilities probabilities;
    for (const ReleaseChain& chain : design.chains) {
        if (chain.firstSurvivalFactorIndex >= 0)
            requireInDomain(owner, "survival factor",
                            design.trueValues[chain.firstSurvivalFactorIndex],
                            design.trueValues[chain.firstSurvivalFactorIndex] >= 0.0,
                            "a survival ratio must not be negative");
        readChainProbabilities(chain, design.trueValues, probabilities);
        requireProbabilities(owner, "survival", probabilities.survival);
        requireProbabilities(owner, "detection", probabilities.detection);
        requireProbability(owner, "lambda", probabilities.lambda);
    }
}

ReleaseDesign releaseDesignOf(const ReleaseRecaptureInformation& information)
{
    return {information.releaseChains(), information.caseValues()};
}
