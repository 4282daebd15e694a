// Speed of the check of a design by simulation: K = 1000 data sets, their
// counts drawn as binomial counts, fitted by maximum likelihood on two
// threads, as the study window runs it on this machine's two cores. The argument is the
// number of reaches with their own survival and detection, besides the
// final reach: a single release of R = 10 reaches with 5000 fish at site 0
// and releases of 500 at two downstream sites, and a paired release of 5000
// control and 5000 treatment fish over the first reach and D = 30 downstream
// reaches. Every design removes 10% of the detected fish. The largest paired
// release the window takes, 98 downstream reaches (99 in the reaches
// dialog), is checked with 40 data sets.

#include "engine/information/PairedReleaseInformation.h"
#include "engine/information/SingleReleaseInformation.h"
#include "engine/simulation/ReleaseSimulation.h"
#include "engine/simulation/SimulationSummary.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int dataSets = 1000;
constexpr int threads = 2;

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

ReleaseDesign singleDesign(int reaches)
{
    SingleReleaseInformation information(distinctLabels(reaches), distinctLabels(reaches));
    std::vector<int> releases(static_cast<std::size_t>(reaches) + 1, 0);
    releases[0] = 5000;
    releases[static_cast<std::size_t>(reaches / 3)] = 500;
    releases[static_cast<std::size_t>(2 * reaches / 3)] = 500;
    std::vector<double> parameters;
    information.setCase(std::vector<double>(static_cast<std::size_t>(reaches), 0.1), parameters,
                        releases, spread(reaches, 0.85, 0.99), spread(reaches, 0.5, 0.9), 0.6);
    return releaseDesignOf(information);
}

ReleaseDesign pairedDesign(int downstream)
{
    PairedReleaseInformation information(distinctLabels(downstream),
                                         distinctLabels(downstream + 1));
    std::vector<double> parameters;
    information.setCase(
        0.8, 0.9, std::vector<double>(static_cast<std::size_t>(downstream) + 1, 0.1), parameters,
        5000, 5000, spread(downstream, 0.85, 0.99), spread(downstream + 1, 0.5, 0.9), 0.6);
    return releaseDesignOf(information);
}

void runSimulation(benchmark::State& state, const ReleaseDesign& design, int count = dataSets)
{
    SimulationSettings settings;
    settings.dataSetCount = count;
    settings.threadCount = threads;
    SimulationSummary summary;
    for (auto _ : state) {
        const SimulationResults results = simulateReleaseDesign(design, settings);
        summary = summarizeSimulation(results, design.trueValues);
        ++settings.seed;
    }
    state.counters["parameters"] = static_cast<double>(design.trueValues.size());
    state.counters["failedFits"] = summary.failedFits;
    state.counters["boundaryFits"] = summary.boundaryFits;
    state.counters["withoutErrors"] = summary.fitsWithoutStandardErrors;
}

void singleRelease(benchmark::State& state)
{
    runSimulation(state, singleDesign(static_cast<int>(state.range(0))));
}

void pairedRelease(benchmark::State& state)
{
    runSimulation(state, pairedDesign(static_cast<int>(state.range(0))));
}

void largestPairedRelease(benchmark::State& state)
{
    runSimulation(state, pairedDesign(static_cast<int>(state.range(0))), 40);
}

} // namespace

BENCHMARK(singleRelease)
    ->ArgName("reaches")
    ->Arg(10)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(pairedRelease)
    ->ArgName("downstream")
    ->Arg(30)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

BENCHMARK(largestPairedRelease)
    ->ArgName("downstream")
    ->Arg(98)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
