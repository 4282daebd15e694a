#include "engine/simulation/SegmentLikelihood.h"

#include "engine/likelihoods/LengthCheck.h"

#include <cmath>
#include <limits>

namespace {

const char* const owner = "SegmentLikelihood";

// count log p, taken as 0 for a count of 0 whatever p is.
double logTerm(double count, double p)
{
    return count > 0.0 ? count * std::log(p) : 0.0;
}

// count / p, the slope of count log p, 0 for a count of 0.
double slope(double count, double p)
{
    return count > 0.0 ? count / p : 0.0;
}

} // namespace

SegmentLikelihood::SegmentLikelihood(const std::vector<ReleaseChain>& chains,
                                     const std::vector<SegmentCounts>& counts)
    : chains(chains)
{
    requireLength(owner, counts.size(), static_cast<int>(chains.size()), "segment counts");
    for (std::size_t c = 0; c < chains.size(); ++c) {
        requireLength(owner, counts[c].neverSeen.size(), chains[c].reachCount() + 1,
                      "never-seen counts");
        statistics.push_back(statisticsOf(counts[c]));
    }
}

// With tail(a, b) = sum_{b' >= b} m(a, b'), survived_j = sum_{a <= j} tail(a, j + 1)
// and missed_j = sum_{a <= j} tail(a, j + 2).
SegmentLikelihood::ChainStatistics SegmentLikelihood::statisticsOf(const SegmentCounts& counts)
{
    const int K = counts.reachCount;
    ChainStatistics s;
    s.survived.assign(static_cast<std::size_t>(K), 0.0);
    s.detected.assign(static_cast<std::size_t>(K), 0.0);
    s.missed.assign(static_cast<std::size_t>(K), 0.0);
    s.neverSeen = counts.neverSeen;
    for (int a = 0; a <= K; ++a) {
        double tail = counts.detectedAt(a, counts.finalSite());
        s.final += tail;
        for (int j = K - 1; j >= a; --j) {
            // tail is tail(a, j + 2) here.
            s.missed[j] += tail;
            s.detected[j] += counts.detectedAt(a, j + 1);
            tail += counts.detectedAt(a, j + 1);
            s.survived[j] += tail;
        }
    }
    return s;
}

double SegmentLikelihood::evaluate(const std::vector<double>& parameters,
                                   std::vector<double>* gradient) const
{
    if (gradient != nullptr)
        gradient->assign(parameters.size(), 0.0);
    double logLikelihood = 0.0;
    for (std::size_t c = 0; c < chains.size(); ++c) {
        logLikelihood += evaluateChain(static_cast<int>(c), parameters, gradient);
        if (!std::isfinite(logLikelihood))
            return -std::numeric_limits<double>::infinity();
    }
    return logLikelihood;
}

double SegmentLikelihood::evaluateChain(int c, const std::vector<double>& parameters,
                                        std::vector<double>* gradient) const
{
    const ReleaseChain& chain = chains[c];
    const ChainStatistics& s = statistics[c];
    const int K = chain.reachCount();
    readChainProbabilities(chain, parameters, probabilities);
    const std::vector<double>& S = probabilities.survival;
    const std::vector<double>& P = probabilities.detection;
    const double lambda = probabilities.lambda;

    // chi_k and seen_k = 1 - chi_k, each by its own recursion of positive
    // terms, so that neither loses digits when the other is close to 1.
    chi.resize(static_cast<std::size_t>(K + 1));
    seen.resize(static_cast<std::size_t>(K + 1));
    chi[K] = 1.0 - lambda;
    seen[K] = lambda;
    for (int k = K - 1; k >= 0; --k) {
        chi[k] = (1.0 - S[k]) + S[k] * (1.0 - P[k]) * chi[k + 1];
        seen[k] = S[k] * (P[k] + (1.0 - P[k]) * seen[k + 1]);
    }

    double logLikelihood = logTerm(s.final, lambda);
    for (int j = 0; j < K; ++j)
        logLikelihood += logTerm(s.survived[j], S[j]) + logTerm(s.detected[j], P[j]) +
                         logTerm(s.missed[j], 1.0 - P[j]);
    for (int a = 0; a <= K; ++a)
        logLikelihood += logTerm(s.neverSeen[a], chi[a]);
    if (gradient == nullptr || !std::isfinite(logLikelihood))
        return logLikelihood;

    survivalSlope.resize(static_cast<std::size_t>(K));
    detectionSlope.resize(static_cast<std::size_t>(K));
    double lambdaSlope = slope(s.final, lambda);
    double W = 0.0;
    for (int k = 0; k <= K; ++k) {
        if (k > 0)
            W *= S[k - 1] * (1.0 - P[k - 1]);
        W += slope(s.neverSeen[k], chi[k]);
        if (k == K) {
            lambdaSlope -= W;
            break;
        }
        survivalSlope[k] = slope(s.survived[k], S[k]) - W * (P[k] + (1.0 - P[k]) * seen[k + 1]);
        detectionSlope[k] =
            slope(s.detected[k], P[k]) - slope(s.missed[k], 1.0 - P[k]) - W * S[k] * chi[k + 1];
    }

    std::vector<double>& g = *gradient;
    for (int j = 0; j < K; ++j) {
        g[chain.detectionIndices[j]] += detectionSlope[j];
        if (j == 0 && chain.firstSurvivalFactorIndex >= 0) {
            const int factor = chain.firstSurvivalFactorIndex;
            g[chain.survivalIndices[0]] += survivalSlope[0] * parameters[factor];
            g[factor] += survivalSlope[0] * parameters[chain.survivalIndices[0]];
        } else {
            g[chain.survivalIndices[j]] += survivalSlope[j];
        }
    }
    g[chain.lambdaIndex] += lambdaSlope;
    return logLikelihood;
}
