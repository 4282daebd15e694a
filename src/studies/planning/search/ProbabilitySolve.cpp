#include "studies/planning/search/PlanSolves.h"

#include "studies/planning/search/PlanSearch.h"

#include <cmath>
#include <map>

namespace planning {

bool solveProbability(const Design& point, const PlanRequest& request, PlanMeasurer& measure,
                      PlanRow* row, QString*)
{
    const QString& key = request.field;
    std::map<int, Measured> measured;
    const auto measureAt = [&](int step) {
        auto found = measured.find(step);
        if (found == measured.end()) {
            Design varied = point;
            varied.inputs.field(key).text = numberText(double(step) / probabilitySteps);
            found = measured.emplace(step, measure(varied)).first;
        }
        return found->second.measure;
    };
    const double current = point.inputs.valueAt(key, 0);
    const int guess = static_cast<int>(std::lround(current * probabilitySteps));
    // The computation at exactly 1 may lose what a probability near 1 still
    // has (cells of no fish drop out), so the step below 1 is tried too.
    int top = probabilitySteps;
    if (!request.target.isMetBy(measureAt(top)) && request.target.isMetBy(measureAt(top - 1)))
        --top;
    int step = static_cast<int>(smallestMeeting(1, top, guess, request.target,
                                                [&](qint64 k) { return measureAt(int(k)); }));
    if (step > top)
        step = probabilitySteps + 1;
    if (measure.cancelled)
        return true;
    const QString name = point.inputs.field(key).name;
    if (step > probabilitySteps) {
        const Measured& atOne = measured[probabilitySteps];
        row->achieved = atOne.measure;
        row->message =
            atOne.message.isEmpty()
                ? QStringLiteral("cannot be met even at %1 = 1: %2 = %3 there")
                      .arg(name, PlanTarget::measureName(request.target.measure),
                           measureText(atOne.measure))
                : QStringLiteral("cannot be met even at %1 = 1: %2").arg(name, atOne.message);
        return true;
    }
    const QString value = numberText(double(step) / probabilitySteps);
    row->met = true;
    row->fields = {{key, value}};
    row->answer = name + QStringLiteral(" = ") + value;
    row->achieved = measureAt(step);
    if (step > 1) {
        row->shortMeasure = measureAt(step - 1);
        row->shortAnswer =
            name + QStringLiteral(" = ") + numberText(double(step - 1) / probabilitySteps);
    } else {
        row->shortMeasure = std::nan("");
    }
    return true;
}

} // namespace planning
