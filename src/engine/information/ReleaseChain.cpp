#include "engine/information/ReleaseChain.h"

#include <algorithm>
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

// The derivatives of the chain's negative log-likelihood, formed in the
// chain's own variables: S_j at j, P_j at K + j and lambda at 2K.
class ChainDerivatives
{
public:
    // The chain's probabilities and expected numbers of fish at parameters.
    ChainDerivatives(const ReleaseChain& chain, const std::vector<double>& parameters);

    // Forms the Hessian and gradient in the chain's variables, which
    // carryToParameters needs.
    void formDerivatives();

    // H += J^T H_v J + sum_v g_v d2 v / d theta2: J has the entry 1 for a
    // variable that is one parameter, and theta[second], theta[first] for a
    // variable theta[first] * theta[second], whose second derivative is 1.
    void carryToParameters(const std::vector<double>& parameters, Matrix& hessian) const;

    // The gradients, carried to the parameters, of the histories that have no
    // expected fish only because a probability is exactly 1 (see
    // addChainHessian): per reach j whose P_j is 1, the fish that pass site
    // j + 1 unseen and are detected later, E_j S_j (1 - P_j) seen_{j+1}, whose
    // gradient is along P_j alone; per start a whose chi_a is 0 (S_a is 1 and
    // every fish surviving it is seen again), the fish never seen again from
    // a, with the gradient of chi_a.
    void addDivergentDirections(const std::vector<double>& parameters,
                                std::vector<std::vector<double>>& directions) const;

private:
    // A chain variable as a function of the parameters: theta[first], or
    // theta[first] * theta[second].
    struct Source
    {
        int first = 0;
        int second = -1;
    };

    // One entry of the Jacobian: d variable / d theta[index] = slope.
    struct JacobianEntry
    {
        int index;
        double slope;
    };
    // The one or two entries of variable v's row of the Jacobian; returns
    // their count.
    int jacobianRow(int v, const std::vector<double>& parameters,
                    std::array<JacobianEntry, 2>& row) const;

    // The variables of reach k (k = K stands for the final reach, whose one
    // variable is lambda), with the derivatives of chi_k and u_k by each.
    struct ReachTerms
    {
        int count = 0;
        std::array<int, 2> variable{};
        std::array<double, 2> chiSlope{};
        std::array<double, 2> uSlope{};
    };

    int survival(int j) const { return j; }
    int detection(int j) const { return K + j; }
    int lambdaVariable() const { return 2 * K; }

    void readValues(const ReleaseChain& chain, const std::vector<double>& parameters);
    void computeNeverSeen();
    void countFish(const ReleaseChain& chain);
    void addDetectionTerms();
    void addNeverSeenTerms();
    void addHessian(int v, int w, double value);

    const int K;
    const int size;
    std::vector<Source> sources;
    std::vector<double> S, P;
    double lambda = 0.0;
    // chi_k, and seen_k = 1 - chi_k (a fish alive at site k is detected
    // again) by its own recursion, so that neither loses digits when the
    // other is close to 1.
    std::vector<double> chi, seen;
    // A_k and E_k. For the never-seen segments only the starts whose chi_a is
    // positive count (the others' histories have no expected fish):
    // chiAtRisk_k sums their A_a U(a, k) and chiSpread_k their
    // A_a U(a, k)^2 / chi_a.
    std::vector<double> starts, atRisk, chiAtRisk, chiSpread;
    std::vector<double> gradient;
    Matrix hessian;
};

ChainDerivatives::ChainDerivatives(const ReleaseChain& chain, const std::vector<double>& parameters)
    : K(chain.reachCount())
    , size(2 * K + 1)
    , sources(static_cast<std::size_t>(size))
    , S(static_cast<std::size_t>(K))
    , P(static_cast<std::size_t>(K))
    , chi(static_cast<std::size_t>(K + 1))
    , seen(static_cast<std::size_t>(K + 1))
    , starts(static_cast<std::size_t>(K + 1))
    , atRisk(static_cast<std::size_t>(K + 1))
    , chiAtRisk(static_cast<std::size_t>(K + 1))
    , chiSpread(static_cast<std::size_t>(K + 1))
{
    readValues(chain, parameters);
    computeNeverSeen();
    countFish(chain);
}

void ChainDerivatives::formDerivatives()
{
    gradient.assign(static_cast<std::size_t>(size), 0.0);
    hessian.resize(size, size);
    addDetectionTerms();
    addNeverSeenTerms();
}

void ChainDerivatives::readValues(const ReleaseChain& chain, const std::vector<double>& parameters)
{
    for (int j = 0; j < K; ++j) {
        sources[survival(j)].first = chain.survivalIndices[j];
        S[j] = parameters[chain.survivalIndices[j]];
        if (j == 0 && chain.firstSurvivalFactorIndex >= 0) {
            sources[survival(j)].second = chain.firstSurvivalFactorIndex;
            S[j] *= parameters[chain.firstSurvivalFactorIndex];
        }
        sources[detection(j)].first = chain.detectionIndices[j];
        P[j] = parameters[chain.detectionIndices[j]];
    }
    sources[lambdaVariable()].first = chain.lambdaIndex;
    lambda = parameters[chain.lambdaIndex];
}

void ChainDerivatives::computeNeverSeen()
{
    chi[K] = 1.0 - lambda;
    seen[K] = lambda;
    for (int k = K - 1; k >= 0; --k) {
        chi[k] = (1.0 - S[k]) + S[k] * (1.0 - P[k]) * chi[k + 1];
        seen[k] = S[k] * (P[k] + (1.0 - P[k]) * seen[k + 1]);
    }
}

void ChainDerivatives::countFish(const ReleaseChain& chain)
{
    for (int k = 0; k <= K; ++k) {
        starts[k] = chain.releaseSizes[k];
        chiAtRisk[k] = 0.0;
        chiSpread[k] = 0.0;
        if (k > 0) {
            const double u = S[k - 1] * (1.0 - P[k - 1]);
            const double detected = atRisk[k - 1] * S[k - 1] * P[k - 1];
            starts[k] += detected * (1.0 - chain.removals[k - 1]);
            chiAtRisk[k] = chiAtRisk[k - 1] * u;
            chiSpread[k] = chiSpread[k - 1] * u * u;
        }
        atRisk[k] = (k > 0 ? atRisk[k - 1] * S[k - 1] * (1.0 - P[k - 1]) : 0.0) + starts[k];
        if (starts[k] > 0.0 && chi[k] > 0.0) {
            chiAtRisk[k] += starts[k];
            chiSpread[k] += starts[k] / chi[k];
        }
    }
}

// Per reach j: E_j seen_j fish survived it (their -log q has -log S_j),
// E_j S_j P_j were detected at its end (-log P_j), and E_j S_j (1 - P_j)
// seen_{j+1} passed its end unseen and were detected later (-log(1 - P_j));
// E_K lambda were detected at the final site (-log lambda).
void ChainDerivatives::addDetectionTerms()
{
    for (int j = 0; j < K; ++j) {
        const double survived = atRisk[j] * seen[j];
        const double detected = atRisk[j] * S[j] * P[j];
        const double passedUnseen = atRisk[j] * S[j] * (1.0 - P[j]) * seen[j + 1];
        if (survived > 0.0) {
            hessian(survival(j), survival(j)) += survived / (S[j] * S[j]);
            gradient[survival(j)] -= survived / S[j];
        }
        const int d = detection(j);
        if (detected > 0.0) {
            hessian(d, d) += detected / (P[j] * P[j]);
            gradient[d] -= detected / P[j];
        }
        if (passedUnseen > 0.0) {
            const double missed = 1.0 - P[j];
            hessian(d, d) += passedUnseen / (missed * missed);
            gradient[d] += passedUnseen / missed;
        }
    }
    const double finalDetected = atRisk[K] * lambda;
    if (finalDetected > 0.0) {
        hessian(lambdaVariable(), lambdaVariable()) += finalDetected / (lambda * lambda);
        gradient[lambdaVariable()] -= finalDetected / lambda;
    }
}

// sum_a A_a [grad chi_a grad chi_a^T / chi_a - Hess chi_a] and -sum_a A_a grad chi_a.
// For variables v of reach k and w of reach l > k, with U(a, l) = U(a, k) u_k
// U(k + 1, l), the entry is U(k + 1, l) g_l(w) [chiSpread_k u_k g_k(v) -
// chiAtRisk_k du_k/dv]; within reach k it is chiSpread_k g_k(v) g_k(w), plus
// chiAtRisk_k chi_{k+1} for the pair S_k, P_k.
void ChainDerivatives::addNeverSeenTerms()
{
    std::vector<ReachTerms> terms(static_cast<std::size_t>(K + 1));
    for (int k = 0; k < K; ++k) {
        ReachTerms& t = terms[k];
        t.count = 2;
        t.variable = {survival(k), detection(k)};
        t.chiSlope = {-(P[k] + (1.0 - P[k]) * seen[k + 1]), -S[k] * chi[k + 1]};
        t.uSlope = {1.0 - P[k], -S[k]};
    }
    terms[K].count = 1;
    terms[K].variable = {lambdaVariable(), 0};
    terms[K].chiSlope = {-1.0, 0.0};

    for (int k = 0; k <= K; ++k) {
        const ReachTerms& tk = terms[k];
        for (int a = 0; a < tk.count; ++a) {
            gradient[tk.variable[a]] -= chiAtRisk[k] * tk.chiSlope[a];
            for (int b = a; b < tk.count; ++b)
                addHessian(tk.variable[a], tk.variable[b],
                           chiSpread[k] * tk.chiSlope[a] * tk.chiSlope[b]);
        }
        if (k == K)
            continue;
        addHessian(tk.variable[0], tk.variable[1], chiAtRisk[k] * chi[k + 1]);

        const double u = S[k] * (1.0 - P[k]);
        std::array<double, 2> lead{};
        for (int a = 0; a < tk.count; ++a)
            lead[a] = chiSpread[k] * u * tk.chiSlope[a] - chiAtRisk[k] * tk.uSlope[a];
        double between = 1.0; // U(k + 1, l)
        for (int l = k + 1; l <= K; ++l) {
            const ReachTerms& tl = terms[l];
            for (int a = 0; a < tk.count; ++a)
                for (int b = 0; b < tl.count; ++b)
                    addHessian(tk.variable[a], tl.variable[b], lead[a] * between * tl.chiSlope[b]);
            if (l < K)
                between *= S[l] * (1.0 - P[l]);
        }
    }
}

void ChainDerivatives::addHessian(int v, int w, double value)
{
    hessian(v, w) += value;
    if (v != w)
        hessian(w, v) += value;
}

int ChainDerivatives::jacobianRow(int v, const std::vector<double>& parameters,
                                  std::array<JacobianEntry, 2>& row) const
{
    const Source& src = sources[v];
    if (src.second < 0) {
        row[0] = {src.first, 1.0};
        return 1;
    }
    row[0] = {src.first, parameters[src.second]};
    row[1] = {src.second, parameters[src.first]};
    return 2;
}

void ChainDerivatives::carryToParameters(const std::vector<double>& parameters, Matrix& out) const
{
    std::vector<std::array<JacobianEntry, 2>> jacobian(static_cast<std::size_t>(size));
    std::vector<int> entryCounts(static_cast<std::size_t>(size), 1);
    for (int v = 0; v < size; ++v) {
        entryCounts[v] = jacobianRow(v, parameters, jacobian[v]);
        const Source& src = sources[v];
        if (src.second >= 0) {
            out(src.first, src.second) += gradient[v];
            out(src.second, src.first) += gradient[v];
        }
    }
    // Where every variable is one parameter (slope 1), H_v is carried entry
    // by entry: h * 1 * 1 is h.
    if (std::all_of(entryCounts.begin(), entryCounts.end(), [](int count) { return count == 1; })) {
        for (int v = 0; v < size; ++v) {
            const double* row = hessian.data() + static_cast<std::size_t>(v) * size;
            double* target =
                out.data() + static_cast<std::size_t>(jacobian[v][0].index) * out.cols();
            for (int w = 0; w < size; ++w)
                if (row[w] != 0.0)
                    target[jacobian[w][0].index] += row[w];
        }
        return;
    }
    for (int v = 0; v < size; ++v) {
        for (int w = 0; w < size; ++w) {
            const double h = hessian(v, w);
            if (h == 0.0)
                continue;
            for (int e = 0; e < entryCounts[v]; ++e)
                for (int f = 0; f < entryCounts[w]; ++f)
                    out(jacobian[v][e].index, jacobian[w][f].index) +=
                        h * jacobian[v][e].slope * jacobian[w][f].slope;
        }
    }
}

void ChainDerivatives::addDivergentDirections(const std::vector<double>& parameters,
                                              std::vector<std::vector<double>>& directions) const
{
    std::vector<std::vector<double>> inVariables;
    for (int j = 0; j < K; ++j) {
        if (P[j] == 1.0 && atRisk[j] * S[j] * seen[j + 1] > 0.0) {
            std::vector<double> d(static_cast<std::size_t>(size), 0.0);
            d[detection(j)] = 1.0;
            inVariables.push_back(std::move(d));
        }
    }
    // d chi_a / d v_k = U(a, k) g_k(v), for the reaches k = a .. K.
    for (int a = 0; a <= K; ++a) {
        if (!(starts[a] > 0.0 && chi[a] == 0.0))
            continue;
        std::vector<double> d(static_cast<std::size_t>(size), 0.0);
        double between = 1.0; // U(a, k)
        for (int k = a; k < K && between != 0.0; ++k) {
            d[survival(k)] = -between * (P[k] + (1.0 - P[k]) * seen[k + 1]);
            d[detection(k)] = -between * S[k] * chi[k + 1];
            between *= S[k] * (1.0 - P[k]);
        }
        d[lambdaVariable()] = -between;
        inVariables.push_back(std::move(d));
    }

    for (const std::vector<double>& d : inVariables) {
        std::vector<double> carried(parameters.size(), 0.0);
        std::array<JacobianEntry, 2> row{};
        for (int v = 0; v < size; ++v) {
            if (d[v] == 0.0)
                continue;
            const int entries = jacobianRow(v, parameters, row);
            for (int e = 0; e < entries; ++e)
                carried[row[e].index] += d[v] * row[e].slope;
        }
        directions.push_back(std::move(carried));
    }
}

} // namespace

void addChainHessian(const ReleaseChain& chain, const std::vector<double>& parameters,
                     Matrix& hessian, std::vector<std::vector<double>>* divergentDirections)
{
    ChainDerivatives derivatives(chain, parameters);
    derivatives.formDerivatives();
    derivatives.carryToParameters(parameters, hessian);
    if (divergentDirections != nullptr)
        derivatives.addDivergentDirections(parameters, *divergentDirections);
}

void addChainDivergentDirections(const ReleaseChain& chain, const std::vector<double>& parameters,
                                 std::vector<std::vector<double>>& divergentDirections)
{
    ChainDerivatives(chain, parameters).addDivergentDirections(parameters, divergentDirections);
}
