// Whole single- and paired-release runs as the window makes them, without the
// window: the record taken from the design's inputs, the computation over
// 100 points of a range and the precision table every reader uses. The
// argument is the reach count n of the reaches dialog (single: n - 1 reach
// panels, paired: n - 1 downstream reaches); every reach has parameters of
// its own, the slowest case.

#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
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

// Reach k's value between low and high, spread as in the information
// benchmark: survivals of 0.85 to 0.99 let enough fish reach the end of 98
// reaches for every parameter to be estimable.
QString spread(int k, double low, double high)
{
    return QString::number(low + (high - low) * ((k * 7) % 11) / 10.0);
}

StudyInputs singleInputs(int reaches)
{
    StudyInputs inputs = SingleReleaseInputs::blankInputs(reaches);
    inputs.field(SingleReleaseInputs::firstReleaseKey).text = QStringLiteral("100:10100");
    inputs.setRangeHolder(SingleReleaseInputs::firstReleaseKey);
    for (int k = 0; k < SingleReleaseInputs::panelCount(reaches); ++k) {
        inputs.field(SingleReleaseInputs::survivalKey(k)).text = spread(k, 0.85, 0.99);
        inputs.field(SingleReleaseInputs::captureKey(k)).text = spread(k, 0.5, 0.9);
        inputs.field(SingleReleaseInputs::removalKey(k)).text = QStringLiteral("0.1");
        inputs.field(SingleReleaseInputs::releaseKey(k)).text = QStringLiteral("200");
    }
    inputs.field(SingleReleaseInputs::lambdaKey).text = QStringLiteral("0.6");
    return inputs;
}

StudyInputs pairedInputs(int reaches)
{
    StudyInputs inputs = PairedReleaseInputs::blankInputs(reaches);
    inputs.field(PairedReleaseInputs::treatmentReleaseKey).text = QStringLiteral("100:10100");
    inputs.setRangeHolder(PairedReleaseInputs::treatmentReleaseKey);
    inputs.field(PairedReleaseInputs::controlReleaseKey).text = QStringLiteral("1000");
    inputs.field(PairedReleaseInputs::treatmentSurvivalKey).text = QStringLiteral("0.8");
    inputs.field(PairedReleaseInputs::controlSurvivalKey).text = QStringLiteral("0.9");
    inputs.field(PairedReleaseInputs::firstCaptureKey).text = QStringLiteral("0.7");
    inputs.field(PairedReleaseInputs::firstRemovalKey).text = QStringLiteral("0.1");
    for (int k = 0; k < PairedReleaseInputs::panelCount(reaches); ++k) {
        inputs.field(PairedReleaseInputs::survivalKey(k)).text = spread(k, 0.85, 0.99);
        inputs.field(PairedReleaseInputs::captureKey(k)).text = spread(k, 0.5, 0.9);
        inputs.field(PairedReleaseInputs::removalKey(k)).text = QStringLiteral("0.1");
    }
    inputs.field(PairedReleaseInputs::lambdaKey).text = QStringLiteral("0.6");
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

void pairedReleaseRun(benchmark::State& state)
{
    const StudyInputs inputs = pairedInputs(static_cast<int>(state.range(0)));
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

} // namespace

BENCHMARK(singleReleaseRun)->ArgName("n")->Arg(10)->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(pairedReleaseRun)->ArgName("n")->Arg(10)->Arg(30)->Arg(99)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
