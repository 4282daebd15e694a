// When the inputs are guesses: the sensitivity of a single release at one
// point (every input lowered and raised, two computations each), and the
// band of a single release over two inputs' intervals at every point of a
// 100-point range (the grid over the whole range, then the refinement at
// each point). The argument is the reach count n of the reaches dialog;
// every reach has parameters of its own.

#include "BenchmarkDesigns.h"
#include "studies/sensitivity/Band.h"
#include "studies/sensitivity/Sensitivity.h"

#include <benchmark/benchmark.h>

namespace {

Design singleDesign(int reaches, const QString& firstSurvival)
{
    Design design;
    design.kind = Design::SingleRelease;
    design.inputs =
        bench::singleReleaseInputs(reaches, QStringLiteral("1000"), QStringLiteral("0"));
    design.inputs.field(SingleReleaseInputs::survivalKey(0)).text = firstSurvival;
    return design;
}

void singleReleaseSensitivity(benchmark::State& state)
{
    const Design design = singleDesign(static_cast<int>(state.range(0)), QStringLiteral("0.9"));
    SensitivityRequest request;
    request.target.quantity = QStringLiteral("S1");
    for (auto _ : state) {
        Sensitivity result;
        QString error;
        if (!sensitivity::analyse(design, request, &result, &error))
            state.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(result.inputs);
        state.counters["inputs"] = result.inputs.size();
    }
}

void singleReleaseBandOverTwoInputs(benchmark::State& state)
{
    Design design = singleDesign(static_cast<int>(state.range(0)), QStringLiteral("0.5:0.9"));
    design.inputs.setRangeHolder(SingleReleaseInputs::survivalKey(0));
    const QList<BandInput> box = {{SingleReleaseInputs::captureKey(1), 0.5, 0.8},
                                  {SingleReleaseInputs::survivalKey(2), 0.85, 0.95}};
    for (auto _ : state) {
        Band band;
        QString error;
        if (!bands::compute(design, {QStringLiteral("S2"), PlanTarget::StandardError, 0}, box,
                            &band, &error))
            state.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(band.rows);
    }
    state.counters["points"] = design.inputs.numPoints();
}

} // namespace

BENCHMARK(singleReleaseSensitivity)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(singleReleaseBandOverTwoInputs)->Arg(10)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
