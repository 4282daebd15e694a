// Speed of the checks by simulation that the studies layer adds to the
// engine's: K = 1000 data sets on two threads, as the check dialog runs them
// on this machine's two cores, for the design read from a design file. The
// argument is the release size: of each group of the balloon-tag design
// (Sc = 0.8, T = 0.9, Pa = 0.5), and of each of the three releases of the
// virtual paired release (Sdam = 0.9, S'11 = 0.95, S12 = 0.9, P1 = 0.7,
// P2 = 0.6, lambda = 0.5), each fitted by maximum likelihood. The largest
// release, two billion fish, is drawn as fast as the smallest: every group's
// counts are binomial draws.

#include "studies/design/DesignFile.h"
#include "studies/simulation/DesignSimulation.h"

#include <benchmark/benchmark.h>

namespace {

void runCheck(benchmark::State& state, const QByteArray& designFile)
{
    Design design;
    QString error;
    if (!DesignFile::read(designFile, &design, &error)) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    const auto simulation = DesignSimulation::of(design);
    SimulationSettings settings;
    settings.dataSetCount = 1000;
    settings.threadCount = 2;
    SimulationCheck check;
    for (auto _ : state) {
        check = simulation->check(0, settings);
        ++settings.seed;
    }
    state.counters["failedFits"] = check.summary.failedFits;
    state.counters["boundaryFits"] = check.summary.boundaryFits;
}

void balloonTag(benchmark::State& state)
{
    const QByteArray size = QByteArray::number(static_cast<qlonglong>(state.range(0)));
    runCheck(state, R"({"design": "btps", "switches": {"useSt": false}, "inputs": {"Rc": ")" +
                        size + R"(", "Rt": ")" + size +
                        R"(", "Sc": "0.8", "T": "0.9", "Pa": "0.5", "Pd": "0.3"}})");
}

void virtualRelease(benchmark::State& state)
{
    const QByteArray size = QByteArray::number(static_cast<qlonglong>(state.range(0)));
    runCheck(state,
             R"({"design": "vwp", "switches": {"linkAllReleases": true}, "inputs": {"V1": ")" +
                 size + R"(", "SDam": "0.9", "SPrime11": "0.95", "S12": "0.9", "P1": "0.7",
                        "P2": "0.6", "Lambda": "0.5"}})");
}

} // namespace

BENCHMARK(balloonTag)
    ->ArgName("release")
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(2000000000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(virtualRelease)
    ->ArgName("release")
    ->Arg(1000)
    ->Arg(20000)
    ->Arg(2000000000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
