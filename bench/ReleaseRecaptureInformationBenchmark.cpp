// Speed and memory of the exact precision of the release-recapture designs
// at every size the reaches dialog accepts, and its speed beside the
// enumerated likelihood through CovarianceCalculator. Arguments are the
// dialog's reach count n: a single release has R = n - 1 reach panels, a
// paired release D = n - 1 downstream reaches. One point is setCase plus
// computeCovariance, as a run does it for every point of a range.

#include "engine/information/PairedReleaseInformation.h"
#include "engine/information/SingleReleaseInformation.h"
#include "engine/likelihoods/CovarianceCalculator.h"
#include "engine/likelihoods/PairedReleaseLikelihoodFunc.h"
#include "engine/likelihoods/SingleReleaseLikelihoodFunc.h"
#include "numerics/SymmetricEigenvalues.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>

// Every allocation carries its size in a header, so the bytes in use and
// their peak can be followed.
namespace {

constexpr std::size_t headerSize = alignof(std::max_align_t);
std::atomic<long long> bytesInUse{0};
std::atomic<long long> peakBytes{0};

void* allocate(std::size_t size)
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + headerSize));
    if (block == nullptr)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    const long long now =
        bytesInUse.fetch_add(static_cast<long long>(size)) + static_cast<long long>(size);
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return block + headerSize;
}

void release(void* memory) noexcept
{
    if (memory == nullptr)
        return;
    auto* block = static_cast<unsigned char*>(memory) - headerSize;
    bytesInUse.fetch_sub(static_cast<long long>(*reinterpret_cast<std::size_t*>(block)));
    std::free(block);
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* memory) noexcept
{
    release(memory);
}

void operator delete[](void* memory) noexcept
{
    release(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    release(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    release(memory);
}

namespace {

// A label of its own for every reach: no sharing gives the most parameters,
// the slowest case.
std::vector<int> distinctLabels(int count)
{
    std::vector<int> labels;
    for (int i = 0; i < count; ++i)
        labels.push_back(i);
    return labels;
}

std::vector<double> spread(int count, double low, double high)
{
    std::vector<double> values;
    for (int i = 0; i < count; ++i)
        values.push_back(low + (high - low) * ((i * 7) % 11) / 10.0);
    return values;
}

// n reaches in the dialog: R = n - 1 reach panels, 10%
// of the detected fish removed, releases of 1000 fish at site 0 and 200 at
// every other site; the release at site 0 is the ranged input.
struct SingleDesign
{
    explicit SingleDesign(int n)
        : reaches(n - 1)
        , labels(distinctLabels(reaches))
        , removals(static_cast<std::size_t>(reaches), 0.1)
        , releaseSizes(static_cast<std::size_t>(reaches) + 1, 200)
        , survivals(spread(reaches, 0.85, 0.99))
        , detections(spread(reaches, 0.5, 0.9))
    {
        releaseSizes[0] = 1000;
    }

    template <typename Model> void load(Model& model, std::vector<double>& parameters, int point)
    {
        releaseSizes[0] = 1000 + 90 * point;
        model.setCase(removals, parameters, releaseSizes, survivals, detections, 0.6);
    }

    int reaches;
    std::vector<int> labels;
    std::vector<double> removals;
    std::vector<int> releaseSizes;
    std::vector<double> survivals;
    std::vector<double> detections;
};

// n reaches in the dialog: D = n - 1 downstream reaches, 10% removals, 1000 control and treatment
// fish; the treatment release is the ranged input.
struct PairedDesign
{
    explicit PairedDesign(int n)
        : downstream(n - 1)
        , survivalLabels(distinctLabels(downstream))
        , detectionLabels(distinctLabels(downstream + 1))
        , removals(static_cast<std::size_t>(downstream) + 1, 0.1)
        , survivals(spread(downstream, 0.85, 0.99))
        , detections(spread(downstream + 1, 0.5, 0.9))
    {}

    template <typename Model> void load(Model& model, std::vector<double>& parameters, int point)
    {
        model.setCase(0.8, 0.9, removals, parameters, 1000, 1000 + 90 * point, survivals,
                      detections, 0.6);
    }

    int downstream;
    std::vector<int> survivalLabels;
    std::vector<int> detectionLabels;
    std::vector<double> removals;
    std::vector<double> survivals;
    std::vector<double> detections;
};

SingleReleaseInformation exactModel(const SingleDesign& d)
{
    return SingleReleaseInformation(d.labels, d.labels);
}

PairedReleaseInformation exactModel(const PairedDesign& d)
{
    return PairedReleaseInformation(d.survivalLabels, d.detectionLabels);
}

SingleReleaseLikelihoodFunc enumeratedModel(const SingleDesign& d)
{
    return SingleReleaseLikelihoodFunc(d.labels, d.labels);
}

PairedReleaseLikelihoodFunc enumeratedModel(const PairedDesign& d)
{
    return PairedReleaseLikelihoodFunc(d.survivalLabels, d.detectionLabels);
}

// points points of a range by the exact path.
template <typename Design> void exactRange(Design& design, int points)
{
    auto model = exactModel(design);
    std::vector<double> parameters;
    Matrix covariance;
    for (int point = 0; point < points; ++point) {
        design.load(model, parameters, point);
        model.computeCovariance(covariance);
        benchmark::DoNotOptimize(covariance.data());
    }
}

// One point: time, parameters, and the peak of heap bytes in use above what
// was in use before.
template <typename Design> void exactPoint(benchmark::State& state)
{
    Design design(static_cast<int>(state.range(0)));
    for (auto _ : state)
        exactRange(design, 1);
    const long long before = bytesInUse.load();
    peakBytes.store(before);
    exactRange(design, 1);
    state.counters["parameters"] = exactModel(design).parameterCount();
    state.counters["peakKiB"] = static_cast<double>(peakBytes.load() - before) / 1024.0;
}

template <typename Design> void exactHundredPoints(benchmark::State& state)
{
    Design design(static_cast<int>(state.range(0)));
    for (auto _ : state)
        exactRange(design, 100);
}

// The enumerated likelihood through CovarianceCalculator beside the exact
// path, both for one point including setCase; counters in milliseconds. The
// exact path is repeated within each iteration so that its short time is
// measured above the clock's noise.
template <typename Design> void speedRatio(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Design design(static_cast<int>(state.range(0)));
    const int exactRepeats = 100;
    double enumeratedSeconds = 0.0;
    double exactSeconds = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        {
            auto likelihood = enumeratedModel(design);
            std::vector<double> parameters(static_cast<std::size_t>(likelihood.parameterCount()));
            design.load(likelihood, parameters, 0);
            Matrix covariance(likelihood.parameterCount(), likelihood.parameterCount());
            CovarianceCalculator calculator(nullptr, 1e-5);
            calculator.computeCovariance(likelihood, parameters, covariance);
            benchmark::DoNotOptimize(covariance.data());
        }
        const auto middle = Clock::now();
        for (int repeat = 0; repeat < exactRepeats; ++repeat)
            exactRange(design, 1);
        const auto end = Clock::now();
        enumeratedSeconds += std::chrono::duration<double>(middle - start).count();
        exactSeconds += std::chrono::duration<double>(end - middle).count() / exactRepeats;
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["enumerated_ms"] = 1e3 * enumeratedSeconds / iterations;
    state.counters["exact_ms"] = 1e3 * exactSeconds / iterations;
    state.counters["ratio"] = enumeratedSeconds / exactSeconds;
}

// The two rank tests on the Hessian of the paired design with n reaches, and
// the LU inverse that follows them.
template <typename Test> void onPairedHessian(benchmark::State& state, Test test)
{
    PairedDesign design(static_cast<int>(state.range(0)));
    auto model = exactModel(design);
    std::vector<double> parameters;
    design.load(model, parameters, 0);
    Matrix hessian;
    model.computeHessian(hessian);
    for (auto _ : state)
        benchmark::DoNotOptimize(test(hessian));
    state.counters["parameters"] = hessian.rows();
}

// setCase and the Hessian alone, without rank test and inverse.
void pairedHessianOnly(benchmark::State& state)
{
    PairedDesign design(static_cast<int>(state.range(0)));
    auto model = exactModel(design);
    std::vector<double> parameters;
    Matrix hessian;
    for (auto _ : state) {
        design.load(model, parameters, 0);
        model.computeHessian(hessian);
        benchmark::DoNotOptimize(hessian.data());
    }
    state.counters["parameters"] = hessian.rows();
}

void pairedRankTestBySvd(benchmark::State& state)
{
    onPairedHessian(state, [](const Matrix& h) { return CovarianceCalculator::hasFullRank(h); });
}

void pairedRankTestByEigenvalues(benchmark::State& state)
{
    onPairedHessian(state, [](const Matrix& h) { return symmetricHasFullRank(h); });
}

void pairedLuInverse(benchmark::State& state)
{
    onPairedHessian(state, [](const Matrix& h) {
        Matrix covariance;
        CovarianceCalculator::invert(h, covariance);
        return covariance(0, 0);
    });
}

} // namespace

BENCHMARK_TEMPLATE(exactPoint, SingleDesign)
    ->ArgName("n")
    ->Arg(10)
    ->Arg(30)
    ->Arg(60)
    ->Arg(99)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(exactPoint, PairedDesign)
    ->ArgName("n")
    ->Arg(10)
    ->Arg(30)
    ->Arg(60)
    ->Arg(99)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(exactHundredPoints, SingleDesign)
    ->ArgName("n")
    ->Arg(10)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(exactHundredPoints, PairedDesign)
    ->ArgName("n")
    ->Arg(10)
    ->Arg(30)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(speedRatio, SingleDesign)
    ->ArgName("n")
    ->Arg(4)
    ->Arg(8)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(speedRatio, PairedDesign)
    ->ArgName("n")
    ->Arg(4)
    ->Arg(8)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(pairedHessianOnly)->ArgName("n")->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(pairedRankTestBySvd)->ArgName("n")->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(pairedRankTestByEigenvalues)
    ->ArgName("n")
    ->Arg(30)
    ->Arg(99)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(pairedLuInverse)->ArgName("n")->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
