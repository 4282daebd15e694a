#include "engine/ReleaseChain.h"

#include <array>
#include <cstddef>

// How the Hessian is found without listing capture histories.
//
// A fish's capture history splits into segments. Each segment starts at a site
// a where the fish is alive and in play (released there, or detected there and
// not removed) and ends at its next detection, at site b, or with the fish
// never seen again. With u_j = S_j (1 - P_j), the probability of surviving
// reach j unseen, a segment has probability
//     q(a, b) = u_a ... u_{b-2} * S_{b-1} P_{b-1}      for a < b <= K,
//     q(a, F) = u_a ... u_{K-1} * lambda                (F = K + 1, the final site),
//     chi_a   = (1 - S_a) + u_a chi_{a+1},  chi_K = 1 - lambda   (never seen again),
// where K is the number of reaches with their own S and P. A history's cell
// probability is the product of its segments' probabilities and of constants
// c_j or 1 - c_j for the removals, which do not depend on the parameters. So the
// log-likelihood of the expected counts is, up to a constant,
//     sum over segments (a, b) of M(a, b) log q(a, b),
// M(a, b) being the expected number of fish that make that segment: A_a q(a, b),
// with A_a the expected number starting a segment at site a.
//
// The detection segments' log q is a sum of log S_j, log(1 - P_j), log P_j and
// log lambda terms, so their part of the Hessian of -log L is diagonal and
// needs only, per reach, the expected numbers that survived it, that were
// detected at its end, and that passed its end unseen and were detected later.
// These follow from E_j, the expected number alive at site j that have not been
// seen since they started their segment:
//     E_0 = A_0,  E_{j+1} = E_j u_j + A_{j+1},  A_{j+1} = N_{j+1} + E_j S_j P_j (1 - c_j).
//
// The never-seen segments give sum_a A_a chi_a log chi_a, whose Hessian needs the
// derivatives of every chi_a. chi_a is linear in each of S_k, P_k and lambda,
// and with U(a, k) = u_a ... u_{k-1} and g_k the derivative of chi_k by a
// variable of reach k,
//     d chi_a / d v_k = U(a, k) g_k,
//     d2 chi_a / d v_k d v_l = U(a, k) (d u_k / d v_k) U(k + 1, l) g_l   (k < l),
//     d2 chi_a / d S_k d P_k = -U(a, k) chi_{k+1}.
// Summing A_a [grad chi_a grad chi_a^T / chi_a - Hess chi_a] over a folds the
// U(a, k) factors into two running sums, so the whole Hessian costs O(K^2).
//
// Everything is first formed in the chain's own variables (S_j, P_j per reach
// and lambda), then carried to the parameter vector by the chain rule, which
// adds the reaches that share a parameter and the second-order term of the
// product Sc * St.

namespace {

// The chain's own variables: S_j at j, P_j at K + j, lambda at 2K.
class ChainVariables
{
public:
    explicit ChainVariables(int reachCount)
        : reaches(reachCount)
        , size(2 * reachCount + 1)
        , gradient(static_cast<std::size_t>(size), 0.0)
        , hessian(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0.0)
    {
    }

    int survival(int j) const { return j; }
    int detection(int j) const { return reaches + j; }
    int lambda() const { return 2 * reaches; }

    // Adds value to the symmetric pair (v, w) once (once in all when v == w).
    void addHessian(int v, int w, double value)
    {
        at(v, w) += value;
        if (v != w)
            at(w, v) += value;
    }

    double& at(int v, int w)
    {
        return hessian[static_cast<std::size_t>(v) * static_cast<std::size_t>(size) +
                       static_cast<std::size_t>(w)];
    }

    const int reaches;
    const int size;
    // Gradient and Hessian of -log L in these variables.
    std::vector<double> gradient;
    std::vector<double> hessian;
};

// A chain variable as a function of the parameters: theta[first] alone, or
// theta[first] * theta[second].
struct VariableSource
{
    int first = 0;
    int second = -1;
};

// The variables of reach k (k = K stands for the final reach, whose one
// variable is lambda), with the derivatives of chi_k and of u_k by each.
struct ReachTerms
{
    int count = 0;
    std::array<int, 2> variable{};
    std::array<double, 2> chiSlope{}; // d chi_k / d v
    std::array<double, 2> uSlope{};   // d u_k / d v
};

} // namespace

void addChainHessian(const ReleaseChain& chain, const std::vector<double>& parameters,
                     std::vector<double>& hessian)
{
    const int K = chain.reachCount();
    const std::size_t n = parameters.size();

    std::vector<VariableSource> sources(static_cast<std::size_t>(2 * K + 1));
    std::vector<double> S(static_cast<std::size_t>(K));
    std::vector<double> P(static_cast<std::size_t>(K));
    for (int j = 0; j < K; ++j) {
        sources[j].first = chain.survivalIndices[j];
        S[j] = parameters[chain.survivalIndices[j]];
        if (j == 0 && chain.firstSurvivalFactorIndex >= 0) {
            sources[j].second = chain.firstSurvivalFactorIndex;
            S[j] *= parameters[chain.firstSurvivalFactorIndex];
        }
        sources[K + j].first = chain.detectionIndices[j];
        P[j] = parameters[chain.detectionIndices[j]];
    }
    sources[2 * K].first = chain.lambdaIndex;
    const double lambda = parameters[chain.lambdaIndex];

    // chi_k, and seen_k = 1 - chi_k (the probability that a fish alive at site
    // k is detected again) by its own recursion, so that neither loses digits
    // when the other is close to 1.
    std::vector<double> chi(static_cast<std::size_t>(K + 1));
    std::vector<double> seen(static_cast<std::size_t>(K + 1));
    chi[K] = 1.0 - lambda;
    seen[K] = lambda;
    for (int k = K - 1; k >= 0; --k) {
        chi[k] = (1.0 - S[k]) + S[k] * (1.0 - P[k]) * chi[k + 1];
        seen[k] = S[k] * (P[k] + (1.0 - P[k]) * seen[k + 1]);
    }

    ChainVariables vars(K);

    // Forward pass over the sites. atRisk is E_k. For the never-seen segments,
    // only starts whose chi_a is positive count (the others' histories have
    // no expected fish); chiAtRisk sums their A_a U(a, k), and chiSpread their
    // A_a U(a, k)^2 / chi_a.
    std::vector<double> starts(static_cast<std::size_t>(K + 1));
    std::vector<double> atRisk(static_cast<std::size_t>(K + 1));
    std::vector<double> chiAtRisk(static_cast<std::size_t>(K + 1));
    std::vector<double> chiSpread(static_cast<std::size_t>(K + 1));
    for (int k = 0; k <= K; ++k) {
        starts[k] = chain.releaseSizes[k];
        atRisk[k] = starts[k];
        chiAtRisk[k] = 0.0;
        chiSpread[k] = 0.0;
        if (k > 0) {
            const double u = S[k - 1] * (1.0 - P[k - 1]);
            const double detected = atRisk[k - 1] * S[k - 1] * P[k - 1];
            starts[k] += detected * (1.0 - chain.removals[k - 1]);
            atRisk[k] = atRisk[k - 1] * u + starts[k];
            chiAtRisk[k] = chiAtRisk[k - 1] * u;
            chiSpread[k] = chiSpread[k - 1] * u * u;
        }
        if (starts[k] > 0.0 && chi[k] > 0.0) {
            chiAtRisk[k] += starts[k];
            chiSpread[k] += starts[k] / chi[k];
        }
    }

    // Detection segments: -log q is a sum of one-variable terms.
    for (int j = 0; j < K; ++j) {
        const double survived = atRisk[j] * seen[j];
        const double detected = atRisk[j] * S[j] * P[j];
        const double passedUnseen = atRisk[j] * S[j] * (1.0 - P[j]) * seen[j + 1];
        if (survived > 0.0) {
            vars.at(vars.survival(j), vars.survival(j)) += survived / (S[j] * S[j]);
            vars.gradient[vars.survival(j)] -= survived / S[j];
        }
        const int d = vars.detection(j);
        if (detected > 0.0) {
            vars.at(d, d) += detected / (P[j] * P[j]);
            vars.gradient[d] -= detected / P[j];
        }
        if (passedUnseen > 0.0) {
            const double missed = 1.0 - P[j];
            vars.at(d, d) += passedUnseen / (missed * missed);
            vars.gradient[d] += passedUnseen / missed;
        }
    }
    const double finalDetected = atRisk[K] * lambda;
    if (finalDetected > 0.0) {
        vars.at(vars.lambda(), vars.lambda()) += finalDetected / (lambda * lambda);
        vars.gradient[vars.lambda()] -= finalDetected / lambda;
    }

    // Never-seen segments.
    std::vector<ReachTerms> terms(static_cast<std::size_t>(K + 1));
    for (int k = 0; k < K; ++k) {
        ReachTerms& t = terms[k];
        t.count = 2;
        t.variable = {vars.survival(k), vars.detection(k)};
        t.chiSlope = {-(P[k] + (1.0 - P[k]) * seen[k + 1]), -S[k] * chi[k + 1]};
        t.uSlope = {1.0 - P[k], -S[k]};
    }
    terms[K].count = 1;
    terms[K].variable = {vars.lambda(), 0};
    terms[K].chiSlope = {-1.0, 0.0};

    for (int k = 0; k <= K; ++k) {
        const ReachTerms& tk = terms[k];
        for (int a = 0; a < tk.count; ++a) {
            vars.gradient[tk.variable[a]] -= chiAtRisk[k] * tk.chiSlope[a];
            for (int b = a; b < tk.count; ++b)
                vars.addHessian(tk.variable[a], tk.variable[b],
                                chiSpread[k] * tk.chiSlope[a] * tk.chiSlope[b]);
        }
        if (k == K)
            continue;
        vars.addHessian(tk.variable[0], tk.variable[1], chiAtRisk[k] * chi[k + 1]);

        // Pairs of reach k with a later reach l: with U(a, l) = U(a, k) u_k
        // U(k + 1, l), the two sums share the factor U(k + 1, l) g_l.
        const double u = S[k] * (1.0 - P[k]);
        std::array<double, 2> lead{};
        for (int a = 0; a < tk.count; ++a)
            lead[a] = chiSpread[k] * u * tk.chiSlope[a] - chiAtRisk[k] * tk.uSlope[a];
        double between = 1.0; // U(k + 1, l)
        for (int l = k + 1; l <= K; ++l) {
            const ReachTerms& tl = terms[l];
            for (int a = 0; a < tk.count; ++a)
                for (int b = 0; b < tl.count; ++b)
                    vars.addHessian(tk.variable[a], tl.variable[b],
                                    lead[a] * between * tl.chiSlope[b]);
            if (l < K)
                between *= S[l] * (1.0 - P[l]);
        }
    }

    // Chain rule to the parameter vector: H = J^T H_v J + sum_v g_v d2 v / d theta2,
    // where J has one entry 1 per variable, or theta[second] and theta[first]
    // for a product theta[first] * theta[second].
    struct Entry
    {
        std::size_t index;
        double slope;
    };
    std::vector<std::array<Entry, 2>> jacobian(sources.size());
    std::vector<int> entryCounts(sources.size(), 1);
    for (std::size_t v = 0; v < sources.size(); ++v) {
        const VariableSource& src = sources[v];
        const auto first = static_cast<std::size_t>(src.first);
        if (src.second < 0) {
            jacobian[v][0] = {first, 1.0};
            continue;
        }
        const auto second = static_cast<std::size_t>(src.second);
        jacobian[v][0] = {first, parameters[second]};
        jacobian[v][1] = {second, parameters[first]};
        entryCounts[v] = 2;
        hessian[first * n + second] += vars.gradient[v];
        hessian[second * n + first] += vars.gradient[v];
    }
    for (std::size_t v = 0; v < sources.size(); ++v) {
        for (std::size_t w = 0; w < sources.size(); ++w) {
            const double h = vars.at(static_cast<int>(v), static_cast<int>(w));
            if (h == 0.0)
                continue;
            for (int e = 0; e < entryCounts[v]; ++e)
                for (int f = 0; f < entryCounts[w]; ++f)
                    hessian[jacobian[v][e].index * n + jacobian[w][f].index] +=
                        h * jacobian[v][e].slope * jacobian[w][f].slope;
        }
    }
}
