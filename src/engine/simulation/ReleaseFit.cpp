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
#include <numeric>

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
// lower triangle read), overwritten, by its Cholesky factor a = L L^T:
// L_jj = sqrt(a_jj - sum_{k<j} L_jk^2), L_ij = (a_ij - sum_{k<j} L_ik L_jk) / L_jj,
// then L y = b forwards and L^T x = y backwards. Returns false when a is not
// positive definite. Each sum is a chain of dependent subtractions; four
// rows of a column are summed side by side, each in the order k = 0, 1, ...,
// so that the subtractions overlap and every entry is rounded as if
// computed alone.
bool choleskySolve(std::vector<double>& a, int m, std::vector<double>& b)
{
    const auto row = [&a, m](int i) {
        return a.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(m);
    };
    for (int j = 0; j < m; ++j) {
        double* lj = row(j);
        double pivot = lj[j];
        for (int k = 0; k < j; ++k)
            pivot -= lj[k] * lj[k];
        if (!(pivot > 0.0) || !std::isfinite(pivot))
            return false;
        lj[j] = std::sqrt(pivot);
        int i = j + 1;
        for (; i + 3 < m; i += 4) {
            double* r0 = row(i);
            double* r1 = row(i + 1);
            double* r2 = row(i + 2);
            double* r3 = row(i + 3);
            double s0 = r0[j];
            double s1 = r1[j];
            double s2 = r2[j];
            double s3 = r3[j];
            for (int k = 0; k < j; ++k) {
                const double ljk = lj[k];
                s0 -= r0[k] * ljk;
                s1 -= r1[k] * ljk;
                s2 -= r2[k] * ljk;
                s3 -= r3[k] * ljk;
            }
            r0[j] = s0 / lj[j];
            r1[j] = s1 / lj[j];
            r2[j] = s2 / lj[j];
            r3[j] = s3 / lj[j];
        }
        for (; i < m; ++i) {
            double* li = row(i);
            double sum = li[j];
            for (int k = 0; k < j; ++k)
                sum -= li[k] * lj[k];
            li[j] = sum / lj[j];
        }
    }
    for (int i = 0; i < m; ++i) {
        const double* li = row(i);
        for (int k = 0; k < i; ++k)
            b[i] -= li[k] * b[k];
        b[i] /= li[i];
    }
    for (int i = m - 1; i >= 0; --i) {
        for (int k = i + 1; k < m; ++k)
            b[i] -= row(k)[i] * b[k];
        b[i] /= row(i)[i];
    }
    return true;
}

// The parts of the working variables that no chain links: variables read by
// one chain are linked, so the information has no entry between two parts
// and the scoring step can be solved part by part. Each part lists its
// variables in increasing order.
std::vector<std::vector<int>> unlinkedParts(const std::vector<ReleaseChain>& chains, int n)
{
    std::vector<int> root(static_cast<std::size_t>(n));
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&root](int v) {
        while (root[v] != v)
            v = root[v] = root[root[v]];
        return v;
    };
    for (const ReleaseChain& chain : chains) {
        std::vector<int> read = chain.survivalIndices;
        read.insert(read.end(), chain.detectionIndices.begin(), chain.detectionIndices.end());
        read.push_back(chain.lambdaIndex);
        if (chain.firstSurvivalFactorIndex >= 0)
            read.push_back(chain.firstSurvivalFactorIndex);
        for (int v : read)
            root[find(v)] = find(read.front());
    }
    std::vector<std::vector<int>> parts;
    std::vector<int> partOf(static_cast<std::size_t>(n), -1);
    for (int v = 0; v < n; ++v) {
        int& part = partOf[find(v)];
        if (part < 0) {
            part = static_cast<int>(parts.size());
            parts.emplace_back();
        }
        parts[part].push_back(v);
    }
    return parts;
}

class ScoringFit
{
public:
    ScoringFit(const std::vector<ReleaseChain>& chains, const std::vector<SegmentCounts>& counts,
               int parameterCount)
        : space(chains)
        , likelihood(space.chains(), counts)
        , parts(unlinkedParts(space.chains(), parameterCount))
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
    std::vector<std::vector<int>> parts;
    std::vector<double> start, working, gradient;
    double logLikelihood = 0.0;
    // Kept from step to step: the information, and per part its free
    // variables, the information among them and the solution.
    Matrix information;
    std::vector<std::vector<int>> free;
    std::vector<std::vector<double>> reduced, solutions;
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
//
// The free variables of each unlinked part are solved on their own: the
// information has no entry between parts, so the factor of the whole is that
// of its parts, and a part's factor and solution are rounded as they would
// be within the whole. A ridge that any part needs is tried on every part,
// as on the whole.
bool ScoringFit::findStep(std::vector<double>& step)
{
    const int n = static_cast<int>(working.size());
    // Entries between parts stay 0; only the parts' own are cleared again.
    if (information.rows() != n) {
        information.resize(n, n);
    } else {
        for (const std::vector<int>& part : parts)
            for (int i : part)
                for (int j : part)
                    information(i, j) = 0.0;
    }
    for (const ReleaseChain& chain : space.chains())
        addChainHessian(chain, working, information);

    step.assign(static_cast<std::size_t>(n), 0.0);
    free.resize(parts.size());
    double largestDiagonal = 0.0;
    bool anyFree = false;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        free[p].clear();
        for (int i : parts[p]) {
            if (working[i] >= 1.0 - boundReach && gradient[i] >= 0.0) {
                step[i] = 1.0 - working[i];
                continue;
            }
            if (working[i] <= fitLowerBound + boundReach && gradient[i] <= 0.0) {
                step[i] = fitLowerBound - working[i];
                continue;
            }
            free[p].push_back(i);
            anyFree = true;
            largestDiagonal = std::max(largestDiagonal, information(i, i));
        }
    }
    if (!anyFree)
        return true;

    reduced.resize(parts.size());
    solutions.resize(parts.size());
    for (const double ridge : {0.0, 1e-10, 1e-8, 1e-6, 1e-4, 1e-2, 1.0}) {
        bool solved = true;
        for (std::size_t p = 0; p < parts.size() && solved; ++p) {
            const std::vector<int>& f = free[p];
            const int m = static_cast<int>(f.size());
            std::vector<double>& a = reduced[p];
            std::vector<double>& solution = solutions[p];
            a.resize(static_cast<std::size_t>(m) * static_cast<std::size_t>(m));
            solution.resize(static_cast<std::size_t>(m));
            for (int i = 0; i < m; ++i) {
                double* row = a.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(m);
                for (int j = 0; j < m; ++j)
                    row[j] = information(f[i], f[j]);
                row[i] += ridge * std::max(row[i], 1e-12 * largestDiagonal);
                solution[i] = gradient[f[i]];
            }
            solved = choleskySolve(a, m, solution);
        }
        if (solved) {
            for (std::size_t p = 0; p < parts.size(); ++p)
                for (std::size_t i = 0; i < free[p].size(); ++i)
                    step[free[p][i]] = solutions[p][i];
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
    ScoringFit scoring(chains, counts, static_cast<int>(start.size()));
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
