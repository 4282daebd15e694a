#include "engine/simulation/SegmentCounts.h"

#include "engine/simulation/ChainProbabilities.h"

SegmentCounts expectedSegmentCounts(const ReleaseChain& chain,
                                    const std::vector<double>& parameters)
{
    ChainProbabilities p;
    readChainProbabilities(chain, parameters, p);
    const int K = chain.reachCount();

    // chi_K = 1 - lambda, chi_a = (1 - S_a) + S_a (1 - P_a) chi_{a+1}.
    std::vector<double> chi(static_cast<std::size_t>(K + 1));
    chi[K] = 1.0 - p.lambda;
    for (int a = K - 1; a >= 0; --a)
        chi[a] = (1.0 - p.survival[a]) + p.survival[a] * (1.0 - p.detection[a]) * chi[a + 1];

    SegmentCounts counts(K);
    for (int a = 0; a <= K; ++a) {
        double starts = chain.releaseSizes[a];
        if (a > 0) {
            double arrived = 0.0;
            for (int earlier = 0; earlier < a; ++earlier)
                arrived += counts.detectedAt(earlier, a);
            starts += (1.0 - chain.removals[a - 1]) * arrived;
        }
        // reaching carries A_a u_a ... u_{b-2}: the fish alive and unseen at
        // site b - 1.
        double reaching = starts;
        for (int b = a + 1; b <= K; ++b) {
            const double S = p.survival[b - 1];
            const double P = p.detection[b - 1];
            counts.detectedAt(a, b) = reaching * S * P;
            reaching *= S * (1.0 - P);
        }
        counts.detectedAt(a, counts.finalSite()) = reaching * p.lambda;
        counts.neverSeen[a] = starts * chi[a];
    }
    return counts;
}
