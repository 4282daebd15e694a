// Planning to a target without windows: the release-size solve of a paired
// release (one computation to scale from, and the answer and one fish fewer
// computed to verify it), the smallest first detection of that paired
// release meeting a target on its treatment survival, and a range of 100 such solves of a single
// release, one per survival of its first reach. The argument is the reach
// count n of the reaches dialog; every reach has parameters of its own.

#include "BenchmarkDesigns.h"
#include "studies/planning/Planner.h"

#include <benchmark/benchmark.h>

namespace {

Design pairedDesign(int reaches)
{
    Design design;
    design.kind = Design::PairedRelease;
    design.inputs = bench::pairedReleaseInputs(reaches, QStringLiteral("1000"));
    return design;
}

Design singleDesign(int reaches)
{
    Design design;
    design.kind = Design::SingleRelease;
    design.inputs =
        bench::singleReleaseInputs(reaches, QStringLiteral("1000"), QStringLiteral("0"));
    design.inputs.field(SingleReleaseInputs::survivalKey(0)).text = QStringLiteral("0.5:0.9");
    design.inputs.setRangeHolder(SingleReleaseInputs::survivalKey(0));
    return design;
}

void solve(benchmark::State& state, const Design& design, const QString& quantity,
           PlanRequest::Solve solved = PlanRequest::ReleaseSize, const QString& field = QString(),
           double target = 0.02)
{
    PlanRequest request;
    request.solve = solved;
    request.field = field;
    request.target = {quantity, PlanTarget::StandardError, target};
    for (auto _ : state) {
        Plan plan;
        QString error;
        if (!planner::plan(design, request, &plan, &error) || !plan.rows.value(0).met)
            state.SkipWithError(error.toUtf8().constData());
        benchmark::DoNotOptimize(plan.rows);
    }
    state.counters["points"] = design.inputs.numPoints();
}

void pairedReleaseSizeSolve(benchmark::State& state)
{
    solve(state, pairedDesign(static_cast<int>(state.range(0))), QStringLiteral("St"));
}

void singleReleaseRangeOfSolves(benchmark::State& state)
{
    solve(state, singleDesign(static_cast<int>(state.range(0))), QStringLiteral("S1"));
}

void pairedDetectionSolve(benchmark::State& state)
{
    solve(state, pairedDesign(static_cast<int>(state.range(0))), QStringLiteral("St"),
          PlanRequest::Probability, PairedReleaseInputs::firstCaptureKey, 0.05);
}

} // namespace

BENCHMARK(pairedDetectionSolve)->Arg(10)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(pairedReleaseSizeSolve)->Arg(10)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(singleReleaseRangeOfSolves)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
