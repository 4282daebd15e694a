// The main window as a user meets it, on the offscreen platform with a private
// settings folder:
// - runToReportAndPlot: from "Run analysis" on a single release of n reaches
//   over 100 release sizes until its report and plot are shown (wall time);
// - eventLoopDuringRun: a paired release of n reaches over 100 release sizes
//   run to its report and plot, and half a second more in which they are
//   drawn, while a 10 ms timer on the GUI thread notes the longest time
//   between its ticks ("longest_gap_ms"): how long the window stopped
//   answering at worst.

#include "app/QVSettings.h"
#include "app/QVWindow.h"
#include "framework/navigation/NavPanelItem.h"

#include "OffscreenBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace {

void storeSingleRelease(QVSettings& store, int reaches)
{
    store.removeStoredValues(true);
    store.setValue(QVSettingsKeys::SrNumReaches, reaches);
    store.setValue(QVSettingsKeys::SrR0, QStringLiteral("100:10100"));
    store.setValue(QVSettingsKeys::SrLambda, QStringLiteral("0.6"));
    for (int k = 0; k < reaches - 1; ++k) {
        store.setArrayValue(QVSettingsKeys::SrS, k, QStringLiteral("0.95"));
        store.setArrayValue(QVSettingsKeys::SrP, k, QStringLiteral("0.7"));
        store.setArrayValue(QVSettingsKeys::SrD, k, QStringLiteral("0.1"));
        store.setArrayValue(QVSettingsKeys::SrR, k, QStringLiteral("0"));
    }
}

void storePairedRelease(QVSettings& store, int reaches)
{
    store.removeStoredValues(true);
    store.setValue(QVSettingsKeys::PrNumReaches, reaches);
    store.setValue(QVSettingsKeys::PrRt, QStringLiteral("100:10100"));
    store.setValue(QVSettingsKeys::PrRc, QStringLiteral("1000"));
    store.setValue(QVSettingsKeys::PrSt, QStringLiteral("0.8"));
    store.setValue(QVSettingsKeys::PrSc, QStringLiteral("0.9"));
    store.setValue(QVSettingsKeys::PrP1, QStringLiteral("0.7"));
    store.setValue(QVSettingsKeys::PrD1, QStringLiteral("0.1"));
    store.setValue(QVSettingsKeys::PrLambda, QStringLiteral("0.6"));
    for (int k = 0; k < reaches - 1; ++k) {
        store.setArrayValue(QVSettingsKeys::PrS, k, QStringLiteral("0.95"));
        store.setArrayValue(QVSettingsKeys::PrP, k, QStringLiteral("0.7"));
        store.setArrayValue(QVSettingsKeys::PrD, k, QStringLiteral("0.1"));
    }
}

// Clicks "Run analysis" and returns once the window has shown the run's
// report and plot.
void runAnalysis(QVWindow& window)
{
    window.runAnalysisItem()->trigger();
    while (window.pendingRunType() != 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void runToReportAndPlot(benchmark::State& state)
{
    QVSettings store;
    storeSingleRelease(store, static_cast<int>(state.range(0)));
    QVWindow window(&store);
    window.show();
    window.studyItem(1)->trigger();
    QCoreApplication::processEvents();
    for (auto _ : state)
        runAnalysis(window);
}

void eventLoopDuringRun(benchmark::State& state)
{
    QVSettings store;
    storePairedRelease(store, static_cast<int>(state.range(0)));
    QVWindow window(&store);
    window.show();
    window.studyItem(2)->trigger();
    QCoreApplication::processEvents();

    qint64 longestGap = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 lastTick = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longestGap = std::max(longestGap, now - lastTick);
            lastTick = now;
        });
        clock.start();
        ticker.start();
        runAnalysis(window);
        // Half a second more, in which the report and the plot are laid out
        // and painted.
        const qint64 shown = clock.elapsed();
        while (clock.elapsed() - shown < 500)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ticker.stop();
    }
    state.counters["longest_gap_ms"] = static_cast<double>(longestGap);
}

} // namespace

BENCHMARK(runToReportAndPlot)->ArgName("n")->Arg(30)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(eventLoopDuringRun)
    ->ArgName("n")
    ->Arg(99)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
