// Planning to a target without windows: the release-size solve of a paired
// release (one computation to scale from, and the answer and one fish fewer
// computed to verify it), and a range of 100 such solves of a single
// release, one per survival of its first reach. The argument is the reach
// count n of the reaches dialog; every reach has parameters of its own.

#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "studies/planning/Planner.h"

#include <benchmark/benchmark.h>

namespace {

// Reach k's value between low and high, spread as in the run benchmark.
QString spread(int k, double low, double high)
{
    return QString::number(low + (high - low) * ((k * 7) % 11) / 10.0);
}

Design pairedDesign(int reaches)
{
    Design design;
    design.kind = Design::PairedRelease;
    StudyInputs& inputs = design.inputs = PairedReleaseInputs::blankInputs(reaches);
    inputs.field(PairedReleaseInputs::treatmentReleaseKey).text = QStringLiteral("1000");
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
    return design;
}

Design singleDesign(int reaches)
{
    Design design;
    design.kind = Design::SingleRelease;
    StudyInputs& inputs = design.inputs = SingleReleaseInputs::blankInputs(reaches);
    inputs.field(SingleReleaseInputs::firstReleaseKey).text = QStringLiteral("1000");
    for (int k = 0; k < SingleReleaseInputs::panelCount(reaches); ++k) {
        inputs.field(SingleReleaseInputs::survivalKey(k)).text = spread(k, 0.85, 0.99);
        inputs.field(SingleReleaseInputs::captureKey(k)).text = spread(k, 0.5, 0.9);
        inputs.field(SingleReleaseInputs::removalKey(k)).text = QStringLiteral("0.1");
        inputs.field(SingleReleaseInputs::releaseKey(k)).text = QStringLiteral("0");
    }
    inputs.field(SingleReleaseInputs::survivalKey(0)).text = QStringLiteral("0.5:0.9");
    inputs.setRangeHolder(SingleReleaseInputs::survivalKey(0));
    inputs.field(SingleReleaseInputs::lambdaKey).text = QStringLiteral("0.6");
    return design;
}

void solve(benchmark::State& state, const Design& design, const QString& quantity)
{
    PlanRequest request;
    request.target = {quantity, PlanTarget::StandardError, 0.02};
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

} // namespace

BENCHMARK(pairedReleaseSizeSolve)->Arg(10)->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK(singleReleaseRangeOfSolves)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
