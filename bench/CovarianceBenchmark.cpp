// Cost of one covariance computation of the release-recapture designs, the
// unit of work repeated for every point of a range. Besides time, each case
// reports its number of cells and the heap allocations made by the Hessian
// loop (which should allocate only its working copy of the parameters) and by
// the whole computation.

#include "engine/likelihoods/CovarianceCalculator.h"
#include "engine/likelihoods/PairedReleaseLikelihoodFunc.h"
#include "engine/likelihoods/SingleReleaseLikelihoodFunc.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocationCount{0};

} // namespace

void* operator new(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

template <typename Action> long allocationsDuring(Action action)
{
    const long before = allocationCount.load();
    action();
    return allocationCount.load() - before;
}

std::vector<int> distinctLabels(int count)
{
    std::vector<int> result;
    for (int i = 0; i < count; ++i)
        result.push_back(i);
    return result;
}

std::vector<double> repeated(int count, double value)
{
    return std::vector<double>(static_cast<std::size_t>(count), value);
}

// A single release of 1000 fish at site 0 over R reaches, each with its own
// survival and detection parameter and 10% of the detected fish removed.
struct SingleReleaseCase
{
    explicit SingleReleaseCase(int reaches)
        : likelihood(distinctLabels(reaches), distinctLabels(reaches))
    {
        std::vector<int> releases(static_cast<std::size_t>(reaches) + 1, 0);
        releases[0] = 1000;
        likelihood.setCase(repeated(reaches, 0.1), parameters, releases, repeated(reaches, 0.9),
                           repeated(reaches, 0.7), 0.6);
    }

    SingleReleaseLikelihoodFunc likelihood;
    std::vector<double> parameters;
};

void reportAllocations(benchmark::State& state, const ryn::LikelihoodFunc& likelihood,
                       const std::vector<double>& parameters, int cells)
{
    const int n = static_cast<int>(parameters.size());
    Matrix covariance(n, n);
    Matrix hessian(n, n);
    CovarianceCalculator calculator(nullptr, 1e-5);
    state.counters["cells"] = cells;
    state.counters["parameters"] = n;
    state.counters["hessianAllocs"] = static_cast<double>(allocationsDuring(
        [&] { calculator.computeHessian(likelihood, parameters, 1e-5, hessian); }));
    state.counters["totalAllocs"] = static_cast<double>(allocationsDuring(
        [&] { calculator.computeCovariance(likelihood, parameters, covariance); }));
}

// A paired release of 1000 control and 1000 treatment fish over D
// downstream reaches, each with its own parameters, 10% of the detected fish
// removed at every detection site.
struct PairedReleaseCase
{
    explicit PairedReleaseCase(int downstreamReaches)
        : likelihood(distinctLabels(downstreamReaches), distinctLabels(downstreamReaches + 1))
    {
        likelihood.setCase(0.8, 0.9, repeated(downstreamReaches + 1, 0.1), parameters, 1000, 1000,
                           repeated(downstreamReaches, 0.9), repeated(downstreamReaches + 1, 0.7),
                           0.6);
    }

    PairedReleaseLikelihoodFunc likelihood;
    std::vector<double> parameters;
};

template <typename Design> void measureCovariance(benchmark::State& state)
{
    const Design design(static_cast<int>(state.range(0)));
    const int n = design.likelihood.parameterCount();
    Matrix covariance(n, n);
    for (auto _ : state) {
        CovarianceCalculator calculator(nullptr, 1e-5);
        calculator.computeCovariance(design.likelihood, design.parameters, covariance);
        benchmark::DoNotOptimize(covariance.data());
    }
    reportAllocations(state, design.likelihood, design.parameters, design.likelihood.cellCount());
}

void singleReleaseCovariance(benchmark::State& state)
{
    measureCovariance<SingleReleaseCase>(state);
}

void pairedReleaseCovariance(benchmark::State& state)
{
    measureCovariance<PairedReleaseCase>(state);
}

} // namespace

BENCHMARK(singleReleaseCovariance)
    ->ArgName("R")
    ->DenseRange(2, 12, 2)
    ->Unit(benchmark::kMillisecond);

BENCHMARK(pairedReleaseCovariance)
    ->ArgName("D")
    ->DenseRange(1, 8, 1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
