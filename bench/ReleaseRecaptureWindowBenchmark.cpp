// The single- and paired-release forms, shown, growing to the largest chain
// the reaches dialog allows and shrinking back, and the report of the largest
// paired run: 100 points of 99 reaches (398 parameters). The argument is the
// reach count n. Runs on the offscreen platform with a private settings
// folder.

#include "app/QVSettings.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/release_recapture/PairedReleaseWidget.h"
#include "forms/release_recapture/SingleReleaseWidget.h"
#include "framework/style/RynStyle.h"
#include "studies/release_recapture/ReleaseRecaptureComputation.h"
#include "studies/release_recapture/window/ReleaseRecaptureReport.h"

#include "OffscreenBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QTextCursor>
#include <QTextDocument>

namespace {

// Every per-reach input of both forms stored, as after a user's session.
void storeInputs(QVSettings& store)
{
    store.removeStoredValues(true);
    for (int k = 0; k < 98; ++k) {
        for (int id :
             {QVSettingsKeys::SrS, QVSettingsKeys::SrP, QVSettingsKeys::PrS, QVSettingsKeys::PrP})
            store.setArrayValue(id, k, QStringLiteral("0.8"));
        for (int id : {QVSettingsKeys::SrD, QVSettingsKeys::PrD})
            store.setArrayValue(id, k, QStringLiteral("0.1"));
        store.setArrayValue(QVSettingsKeys::SrR, k, QStringLiteral("0"));
    }
}

template <typename Form> void grow(benchmark::State& state)
{
    QVSettings store;
    storeInputs(store);
    Form form(&store);
    form.resize(1200, 320);
    form.show();
    const int reaches = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        form.setNumReaches(2);
        state.ResumeTiming();
        form.setNumReaches(reaches);
    }
}

template <typename Form> void shrink(benchmark::State& state)
{
    QVSettings store;
    storeInputs(store);
    Form form(&store);
    form.resize(1200, 320);
    form.show();
    const int reaches = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        form.setNumReaches(reaches);
        state.ResumeTiming();
        form.setNumReaches(2);
    }
}

class QuietMonitor : public RunMonitor
{
public:
    void setTotalSteps(int) override {}
    void setStep(int) override {}
    bool isCanceled() const override { return false; }
    void error(const QString&) override {}
    void setCanceled(bool) override {}
};

// 100 points over Rt, 100 to 10100, of n reaches, each reach with parameters of its own.
PairedReleaseRecord pairedRecord(int reaches)
{
    PairedReleaseRecord record;
    record.rangeName = QStringLiteral("Rt");
    record.range = RangeArithmetic(100, 10100, RangeArithmetic::Integer);
    record.rangedColumns = QStringList{QStringLiteral("Rt")};
    record.x = record.range.points();
    const int downstream = reaches - 1;
    record.detectionLabels = {0};
    for (int k = 0; k < downstream; ++k) {
        record.survivalLabels.push_back(k);
        record.detectionLabels.push_back(k + 1);
    }
    for (double rt : record.x) {
        PairedReleasePoint point;
        point.st = 0.8;
        point.sc = 0.9;
        point.removals.assign(static_cast<std::size_t>(downstream) + 1, 0.1);
        point.controlRelease = 1000;
        point.treatmentRelease = static_cast<int>(rt);
        point.survivalValues.assign(static_cast<std::size_t>(downstream), 0.95);
        point.detectionValues.assign(static_cast<std::size_t>(downstream) + 1, 0.7);
        point.lambda = 0.6;
        record.points.push_back(point);
    }
    return record;
}

void pairedReport(benchmark::State& state)
{
    const PairedReleaseRecord record = pairedRecord(static_cast<int>(state.range(0)));
    QuietMonitor monitor;
    const auto results = computePairedRelease(record, monitor);
    const ryn::RynStyle style;
    for (auto _ : state) {
        QTextDocument document;
        QTextCursor cursor(&document);
        ReleaseRecaptureReport(style, QStringLiteral("Paired Release"), record, *results, {})
            .write(cursor);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.counters["points"] = results->count();
    state.counters["parameters"] = results->parameterCount();
}

} // namespace

BENCHMARK_TEMPLATE(grow, SingleReleaseWidget)->ArgName("n")->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(shrink, SingleReleaseWidget)
    ->ArgName("n")
    ->Arg(99)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(grow, PairedReleaseWidget)->ArgName("n")->Arg(99)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(shrink, PairedReleaseWidget)
    ->ArgName("n")
    ->Arg(99)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(pairedReport)->ArgName("n")->Arg(99)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
