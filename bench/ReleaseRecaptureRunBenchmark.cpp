// Whole single- and paired-release runs as the window makes them, without the
// window: the record taken from the design's inputs, the computation over
// 100 points of a range and the precision table every reader uses. The
// argument is the reach count n of the reaches dialog (single: n - 1 reach
// panels, paired: n - 1 downstream reaches); every reach has parameters of
// its own, the slowest case. The paired release is ranged over its
// treatment release size, which changes one group's information only by a
// multiple, and over St, which changes the treatment group's.

#include "BenchmarkDesigns.h"
#include "studies/release_recapture/ReleaseRecaptureComputation.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"

#include <benchmark/benchmark.h>

namespace {

// A monitor that only counts what it is told.
class CountingMonitor : public RunMonitor
{
public:
    void setTotalSteps(int) override {}
    void setStep(int) override {}
    bool isCanceled() const override { return false; }
    void error(const QString&) override { ++errors; }
    void setCanceled(bool) override {}

    int errors = 0;
};

StudyInputs singleInputs(int reaches)
{
    StudyInputs inputs =
        bench::singleReleaseInputs(reaches, QStringLiteral("100:10100"), QStringLiteral("200"));
    inputs.setRangeHolder(SingleReleaseInputs::firstReleaseKey);
    return inputs;
}

StudyInputs pairedInputs(int reaches)
{
    StudyInputs inputs = bench::pairedReleaseInputs(reaches, QStringLiteral("100:10100"));
    inputs.setRangeHolder(PairedReleaseInputs::treatmentReleaseKey);
    return inputs;
}

StudyInputs pairedInputsOverSt(int reaches)
{
    StudyInputs inputs = bench::pairedReleaseInputs(reaches, QStringLiteral("5000"));
    inputs.field(PairedReleaseInputs::treatmentSurvivalKey).text = QStringLiteral("0.5:0.99");
    inputs.setRangeHolder(PairedReleaseInputs::treatmentSurvivalKey);
    return inputs;
}

void singleReleaseRun(benchmark::State& state)
{
    const StudyInputs inputs = singleInputs(static_cast<int>(state.range(0)));
    ReleaseRecaptureOptions options;
    options.totalSurvival = true;
    for (auto _ : state) {
        const SingleReleaseRecord record = takeSingleReleaseRecord(inputs, options);
        CountingMonitor monitor;
        const auto results = computeSingleRelease(record, monitor);
        const PrecisionTable table = releaseRecapturePrecisionTable(record, *results);
        if (monitor.errors != 0 || table.pointCount() != 100)
            state.SkipWithError("the run did not compute every point");
        benchmark::DoNotOptimize(table.variances.data());
    }
}

void runPaired(benchmark::State& state, const StudyInputs& inputs)
{
    for (auto _ : state) {
        const PairedReleaseRecord record = takePairedReleaseRecord(inputs, {});
        CountingMonitor monitor;
        const auto results = computePairedRelease(record, monitor);
        const PrecisionTable table = releaseRecapturePrecisionTable(record, *results);
        if (monitor.errors != 0 || table.pointCount() != 100)
            state.SkipWithError("the run did not compute every point");
        benchmark::DoNotOptimize(table.variances.data());
    }
}

void pairedReleaseRun(benchmark::State& state)
{
    runPaired(state, pairedInputs(static_cast<int>(state.range(0))));
}

void pairedReleaseRunOverSt(benchmark::State& state)
{
    runPaired(state, pairedInputsOverSt(static_cast<int>(state.range(0))));
}

} // namespace

BENCHMARK(singleReleaseRun)->ArgName("n")->Arg(10)->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(pairedReleaseRun)->ArgName("n")->Arg(10)->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(pairedReleaseRunOverSt)->ArgName("n")->Arg(99)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
