#include "engine/simulation/ReleaseFit.h"

#include "engine/information/ReleaseRecaptureInformation.h"
#include "engine/likelihoods/CovarianceCalculator.h"
#include "engine/likelihoods/LengthCheck.h"
#include "engine/simulation/ReleaseDesign.h"
#include "engine/simulation/SegmentLikelihood.h"
#include "numerics/NRError.h"
#include "numerics/SymmetricEigenvalues.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const owner = "fitReleaseChains";
constexpr int maxIterations = 200;
constexpr int maxHalvings = 60;
// The fit has converged when a full scoring step moves no variable by more
// than this.
constexpr double stepTolerance = 1e-10;
// It has converged too when the likelihood has stopped rising, to its
// rounding, for this many steps in a row: where the data leave a direction
// undetermined (no fish seen past some site) the steps wander along it.
constexpr int stallLimit = 3;
// A variable this close to a bound, with a gradient pointing past it, is put
// on the bound.
constexpr double boundReach = 1e-7;

// The fit works in variables that are all probabilities: the parameter
// vector, with each survival factor theta_f of a base survival theta_b
// replaced by their product theta_b theta_f (the treatment's first survival,
// Sc * St). Chains that read the product directly as their first survival
// make the likelihood and the information functions of these variables, and
// the box [fitLowerBound, 1] is then the whole domain.
class WorkingSpace
{
public:
    explicit WorkingSpace(const std::vector<ReleaseChain>& chains);

    const std::vector<ReleaseChain>& chains() const { return workingChains; }
    std::vector<double> fromParameters(const std::vector<double>& parameters) const;
    std::vector<double> toParameters(const std::vector<double>& working) const;

private:
    struct Product
    {
        int base;
        int factor;
    };

    std::vector<Product> products;
    std::vector<ReleaseChain> workingChains;
};

WorkingSpace::WorkingSpace(const std::vector<ReleaseChain>& chains)
    : workingChains(chains)
{
    for (ReleaseChain& chain : workingChains) {
        const int factor = chain.firstSurvivalFactorIndex;
        if (factor < 0)
            continue;
        const bool known = std::any_of(products.begin(), products.end(),
                                       [factor](const Product& p) { return p.factor == factor; });
        if (!known)
            products.push_back({chain.survivalIndices[0], factor});
        chain.survivalIndices[0] = factor;
        chain.firstSurvivalFactorIndex = -1;
    }
}

std::vector<double> WorkingSpace::fromParameters(const std::vector<double>& parameters) const
{
    std::vector<double> working = parameters;
    for (const Product& p : products)
        working[p.factor] = parameters[p.base] * parameters[p.factor];
    return working;
}

std::vector<double> WorkingSpace::toParameters(const std::vector<double>& working) const
{
    std::vector<double> parameters = working;
    for (const Product& p : products)
        parameters[p.factor] = working[p.factor] / working[p.base];
    return parameters;
}

double clampToDomain(double value)
{
    return std::clamp(value, fitLowerBound, 1.0);
}

// Solves a x = b in place of b for the symmetric m x m matrix a (row-major,
// both triangles), overwritten, by its Cholesky factor a = L L^T:
// L_jj = sqrt(a_jj - sum_{k<j} L_jk^2), L_ij = (a_ij - sum_{k<j} L_ik L_jk) / L_jj,
// then L y = b forwards and L^T x = y backwards. Returns false when a is not
// positive definite.
bool choleskySolve(std::vector<double>& a, int m, std::vector<double>& b)
{
    const auto at = [&a, m](int i, int j) -> double& {
        return a[static_cast<std::size_t>(i) * static_cast<std::size_t>(m) +
                 static_cast<std::size_t>(j)];
    };
    for (int j = 0; j < m; ++j) {
        double pivot = at(j, j);
        for (int k = 0; k < j; ++k)
            pivot -= at(j, k) * at(j, k);
        if (!(pivot > 0.0) || !std::isfinite(pivot))
            return false;
        at(j, j) = std::sqrt(pivot);
        for (int i = j + 1; i < m; ++i) {
            double sum = at(i, j);
            for (int k = 0; k < j; ++k)
                sum -= at(i, k) * at(j, k);
            at(i, j) = sum / at(j, j);
        }
    }
    for (int i = 0; i < m; ++i) {
        for (int k = 0; k < i; ++k)
            b[i] -= at(i, k) * b[k];
        b[i] /= at(i, i);
    }
    for (int i = m - 1; i >= 0; --i) {
        for (int k = i + 1; k < m; ++k)
            b[i] -= at(k, i) * b[k];
        b[i] /= at(i, i);
    }
    return true;
}

class ScoringFit
{
public:
    ScoringFit(const std::vector<ReleaseChain>& chains, const std::vector<SegmentCounts>& counts)
        : space(chains)
        , likelihood(space.chains(), counts)
    {}

    // Runs the iteration from start; fills estimates, logLikelihood,
    // iterations and converged.
    void run(const std::vector<double>& start, ReleaseFit& fit);
    bool onBound() const;

private:
    bool findStep(std::vector<double>& step);
    bool takeStep(const std::vector<double>& step);

    WorkingSpace space;
    SegmentLikelihood likelihood;
    std::vector<double> start, working, gradient;
    double logLikelihood = 0.0;
};

void ScoringFit::run(const std::vector<double>& start, ReleaseFit& fit)
{
    working = space.fromParameters(start);
    std::transform(working.begin(), working.end(), working.begin(), clampToDomain);
    this->start = working;
    logLikelihood = likelihood.evaluate(working, &gradient);

    std::vector<double> step;
    int stalls = 0;
    while (std::isfinite(logLikelihood) && fit.iterations < maxIterations) {
        ++fit.iterations;
        if (!findStep(step))
            break;
        double largest = 0.0;
        for (std::size_t i = 0; i < working.size(); ++i)
            largest =
                std::max(largest, std::fabs(clampToDomain(working[i] + step[i]) - working[i]));
        if (largest <= stepTolerance) {
            fit.converged = true;
            break;
        }
        const double before = logLikelihood;
        if (!takeStep(step))
            break;
        const bool stalled = logLikelihood - before < 1e-12 + 1e-15 * std::fabs(before);
        stalls = stalled ? stalls + 1 : 0;
        if (stalls == stallLimit) {
            fit.converged = true;
            break;
        }
    }
    fit.estimates = space.toParameters(working);
    fit.logLikelihood = logLikelihood;
}

// The scoring step I_FF d = g_F on the free variables F. The others are held
// at a bound: those within boundReach of it whose gradient points out of the
// domain. Their step takes them onto the bound, which the iteration would
// otherwise approach in ever smaller steps. Where I_FF is not positive
// definite (a variable the data barely inform) its diagonal is raised a little
// until it is. Returns false when it never is.
bool ScoringFit::findStep(std::vector<double>& step)
{
    const int n = static_cast<int>(working.size());
    Matrix information(n, n);
    for (const ReleaseChain& chain : space.chains())
        addChainHessian(chain, working, information);

    step.assign(static_cast<std::size_t>(n), 0.0);
    std::vector<int> free;
    double largestDiagonal = 0.0;
    for (int i = 0; i < n; ++i) {
        if (working[i] >= 1.0 - boundReach && gradient[i] >= 0.0) {
            step[i] = 1.0 - working[i];
            continue;
        }
        if (working[i] <= fitLowerBound + boundReach && gradient[i] <= 0.0) {
            step[i] = fitLowerBound - working[i];
            continue;
        }
        free.push_back(i);
        largestDiagonal = std::max(largestDiagonal, information(i, i));
    }
    const int m = static_cast<int>(free.size());
    if (m == 0)
        return true;

    std::vector<double> reduced(static_cast<std::size_t>(m) * static_cast<std::size_t>(m));
    std::vector<double> solution(static_cast<std::size_t>(m));
    for (const double ridge : {0.0, 1e-10, 1e-8, 1e-6, 1e-4, 1e-2, 1.0}) {
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j)
                reduced[static_cast<std::size_t>(i * m + j)] = information(free[i], free[j]);
            double& diagonal = reduced[static_cast<std::size_t>(i * m + i)];
            diagonal += ridge * std::max(diagonal, 1e-12 * largestDiagonal);
            solution[i] = gradient[free[i]];
        }
        if (choleskySolve(reduced, m, solution)) {
            for (int i = 0; i < m; ++i)
                step[free[i]] = solution[i];
            return true;
        }
    }
    return false;
}

// Moves to the first of working + t step (t = 1, 1/2, 1/4, ...), clamped to
// the domain, whose likelihood is not below the present one by more than its
// rounding. Returns false when none is found.
bool ScoringFit::takeStep(const std::vector<double>& step)
{
    const double slack = 1e-12 * (1.0 + std::fabs(logLikelihood));
    std::vector<double> trial(working.size());
    std::vector<double> trialGradient;
    double t = 1.0;
    for (int halving = 0; halving <= maxHalvings; ++halving, t *= 0.5) {
        for (std::size_t i = 0; i < working.size(); ++i)
            trial[i] = clampToDomain(working[i] + t * step[i]);
        const double trialLikelihood = likelihood.evaluate(trial, &trialGradient);
        if (std::isfinite(trialLikelihood) && trialLikelihood >= logLikelihood - slack) {
            working.swap(trial);
            gradient.swap(trialGradient);
            logLikelihood = trialLikelihood;
            return true;
        }
    }
    return false;
}

// A probability that started on a bound and stays there is one the design
// holds known (a detection of 1 shows every fish, and the data say so
// exactly): its estimate is its value, not one cut off by the domain.
bool ScoringFit::onBound() const
{
    for (std::size_t i = 0; i < working.size(); ++i) {
        const bool atOne = working[i] >= 1.0;
        const bool atLeast = working[i] <= fitLowerBound;
        if ((atOne && !(start[i] >= 1.0)) || (atLeast && !(start[i] <= fitLowerBound)))
            return true;
    }
    return false;
}

} // namespace

ReleaseFit fitReleaseChains(const std::vector<ReleaseChain>& chains,
                            const std::vector<SegmentCounts>& counts,
                            const std::vector<double>& start)
{
    checkReleaseChains(owner, chains, static_cast<int>(start.size()));
    ScoringFit scoring(chains, counts);
    ReleaseFit fit;
    scoring.run(start, fit);
    const bool definite = expectedCovariance(chains, fit.estimates, fit.covariance);
    fit.onBoundary = scoring.onBound() || !definite;
    return fit;
}

bool expectedCovariance(const std::vector<ReleaseChain>& chains,
                        const std::vector<double>& parameters, Matrix& covariance)
{
    const int n = static_cast<int>(parameters.size());
    Matrix information(n, n);
    std::vector<std::vector<double>> directions;
    for (const ReleaseChain& chain : chains)
        addChainHessian(chain, parameters, information, &directions);
    covariance = Matrix();
    try {
        if (!directions.empty()) {
            invertInformationLimit(information, directions, covariance);
            return true;
        }
        if (!symmetricIsPositiveDefinite(information))
            return false;
        CovarianceCalculator::invert(information, covariance);
    } catch (const NR3::NRError&) {
        covariance = Matrix();
        return false;
    }
    return true;
}
