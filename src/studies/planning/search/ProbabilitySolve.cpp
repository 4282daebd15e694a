#include "studies/planning/search/PlanSolves.h"

#include "studies/planning/search/PlanSearch.h"

#include <QStringList>
#include <QThread>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace planning {

namespace {

// The grid value of step k as a field holds it.
QString stepText(int k)
{
    return numberText(double(k) / probabilitySteps);
}

// Where the target is met, as runs of met steps: "ST <= 0.388",
// "0.2 <= P2 <= 0.6 and P2 >= 0.9"; empty when it is met from the first met
// step up to 1, as it is wherever the measure only improves as the value
// rises.
QString metRuns(const QString& name, const std::vector<bool>& met)
{
    QStringList runs;
    int first = 0;
    for (int k = 1; k <= probabilitySteps + 1; ++k) {
        const bool in = k <= probabilitySteps && met[k];
        if (in && first == 0)
            first = k;
        if (in || first == 0)
            continue;
        const int last = k - 1;
        if (first == last)
            runs << QStringLiteral("%1 = %2").arg(name, stepText(first));
        else if (first == 1)
            runs << QStringLiteral("%1 <= %2").arg(name, stepText(last));
        else if (last == probabilitySteps)
            runs << QStringLiteral("%1 >= %2").arg(name, stepText(first));
        else
            runs << QStringLiteral("%1 <= %2 <= %3").arg(stepText(first), name, stepText(last));
        first = 0;
    }
    const bool upToOne = runs.size() == 1 && met[probabilitySteps];
    return upToOne ? QString() : listed(runs);
}

// Measures every step of the grid of key's values, on every core: each
// thread takes the next step not yet taken. False after a cancel.
bool measureGrid(const Design& point, const QString& key, PlanMeasurer& measure,
                 std::vector<Measured>& grid)
{
    std::atomic<int> next{1};
    std::atomic<bool> cancelled{false};
    const auto work = [&](PlanMeasurer& measurer) {
        for (int k = next++; k <= probabilitySteps && !cancelled; k = next++) {
            Design varied = point;
            varied.inputs.field(key).text = stepText(k);
            grid[k] = measurer(varied);
            if (measurer.cancelled)
                cancelled = true;
        }
    };
    const int count = std::max(1, QThread::idealThreadCount());
    std::vector<PlanMeasurer> measurers;
    for (int t = 1; t < count; ++t)
        measurers.push_back(measure.sibling());
    std::vector<std::thread> threads;
    for (PlanMeasurer& measurer : measurers)
        threads.emplace_back(work, std::ref(measurer));
    work(measure);
    for (std::thread& thread : threads)
        thread.join();
    if (cancelled)
        measure.cancelled = true;
    return !cancelled;
}

} // namespace

// Every step of the grid is measured: a measure that falls and rises again
// as the value grows (the SE of a survival solved for itself, of a paired
// release's survival against its own treatment survival) has no bracket a
// bisection could trust, and a scan misses no crossing.
bool solveProbability(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                      PlanRow* row, QString*)
{
    const QString& key = request.field;
    std::vector<Measured> grid(probabilitySteps + 1);
    if (!measureGrid(point, key, measure, grid))
        return true;
    std::vector<bool> met(probabilitySteps + 1, false);
    int smallest = 0;
    int best = probabilitySteps;
    for (int k = probabilitySteps; k >= 1; --k) {
        met[k] = request.target.isMetBy(grid[k].measure);
        if (met[k])
            smallest = k;
        if (grid[k].measure < grid[best].measure)
            best = k;
    }
    const QString name = point.inputs.field(key).name;
    const QString measureName = PlanTarget::measureName(request.target.measure);
    if (smallest == 0) {
        const Measured& atBest = grid[best];
        row->achieved = atBest.measure;
        if (!atBest.message.isEmpty())
            row->message =
                QStringLiteral("cannot be met even at %1 = 1: %2").arg(name, atBest.message);
        else if (best == probabilitySteps)
            row->message = QStringLiteral("cannot be met even at %1 = 1: %2 = %3 there")
                               .arg(name, measureName, measureText(atBest.measure));
        else
            row->message = QStringLiteral("cannot be met at any %1 in (0, 1]: the smallest %2 is "
                                          "%3, at %1 = %4")
                               .arg(name, measureName, measureText(atBest.measure), stepText(best));
        return true;
    }
    const QString value = stepText(smallest);
    const QString runs = metRuns(name, met);
    row->met = true;
    row->fields = {{key, value}};
    row->answer = name + QStringLiteral(" = ") + value;
    if (!runs.isEmpty())
        row->answer += QStringLiteral(" (met for %1)").arg(runs);
    row->achieved = grid[smallest].measure;
    if (smallest > 1) {
        row->shortMeasure = grid[smallest - 1].measure;
        row->shortAnswer = name + QStringLiteral(" = ") + stepText(smallest - 1);
    } else {
        row->shortMeasure = std::nan("");
    }
    return true;
}

} // namespace planning
