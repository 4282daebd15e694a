// Designs side by side and the power of a test. A comparison of four designs
// of n reaches (two single releases, one with releases below its first, and
// two paired releases of different group sizes) against a 95% half-width of
// 0.03: four release-size solves. And a 100-point run of a single release of
// n reaches with and without the power of every quantity at every point: the
// power should add nothing measurable.

#include "BenchmarkDesigns.h"
#include "studies/common/RunMonitor.h"
#include "studies/comparison/DesignComparison.h"
#include "studies/planning/DesignComputation.h"
#include "studies/planning/search/PlanMeasurer.h"

#include <benchmark/benchmark.h>

namespace {

ComparedDesign single(int reaches, const QString& later, const QString& label)
{
    ComparedDesign compared;
    compared.label = label;
    compared.design.kind = Design::SingleRelease;
    compared.design.inputs = bench::singleReleaseInputs(reaches, QStringLiteral("1000"), later);
    compared.quantity = QStringLiteral("S1");
    return compared;
}

ComparedDesign paired(int reaches, const QString& treatment, const QString& label)
{
    ComparedDesign compared;
    compared.label = label;
    compared.design.kind = Design::PairedRelease;
    compared.design.inputs = bench::pairedReleaseInputs(reaches, treatment);
    compared.quantity = QStringLiteral("St");
    return compared;
}

void fourDesignsAgainstATarget(benchmark::State& state)
{
    const int reaches = static_cast<int>(state.range(0));
    const QList<ComparedDesign> designs = {
        single(reaches, QStringLiteral("0"), QStringLiteral("single")),
        single(reaches, QStringLiteral("200"), QStringLiteral("single, releases below")),
        paired(reaches, QStringLiteral("1000"), QStringLiteral("paired")),
        paired(reaches, QStringLiteral("2000"), QStringLiteral("paired, more treated"))};
    ComparisonRequest request;
    request.measure = PlanTarget::HalfWidth95;
    request.value = 0.03;
    for (auto _ : state) {
        Comparison comparison;
        QString error;
        if (!comparison::compare(designs, request, &comparison, &error))
            state.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(comparison.entries);
    }
}

// The run, and with power the power of every quantity at every point
// against 0.9, as the reports and outputs compute it.
void singleReleaseRun(benchmark::State& state, bool power)
{
    Design design;
    design.kind = Design::SingleRelease;
    design.inputs = bench::singleReleaseInputs(static_cast<int>(state.range(0)),
                                               QStringLiteral("1000:100000"), QStringLiteral("0"));
    design.inputs.setRangeHolder(SingleReleaseInputs::firstReleaseKey);
    EffectTest test;
    test.commonNull = 0.9;
    for (auto _ : state) {
        const auto computation = DesignComputation::of(design);
        planning::QuietMonitor monitor(nullptr);
        QString message;
        if (computation->run(monitor, &message) != DesignComputation::Computed)
            state.SkipWithError(message.toUtf8().constData());
        const PrecisionTable table = computation->precisionTable();
        double sum = 0.0;
        if (power) {
            for (int i = 0; i < table.pointCount(); ++i) {
                for (int q = 0; q < table.names.size(); ++q)
                    sum +=
                        test.powerOf(table.names[q], table.estimates(i, q), table.variances(i, q));
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

void singleReleaseRunWithoutPower(benchmark::State& state)
{
    singleReleaseRun(state, false);
}

void singleReleaseRunWithPower(benchmark::State& state)
{
    singleReleaseRun(state, true);
}

} // namespace

BENCHMARK(fourDesignsAgainstATarget)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(singleReleaseRunWithoutPower)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(singleReleaseRunWithPower)->Arg(30)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
