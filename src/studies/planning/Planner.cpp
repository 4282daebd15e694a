#include "studies/planning/Planner.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/InputField.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/TIRRInputs.h"
#include "studies/common/RunMonitor.h"
#include "studies/planning/DesignComputation.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <map>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
// A probability is solved for on a grid of this many steps in (0, 1].
constexpr int probabilitySteps = 1000;

// A number as a field holds it: without exponent, with the fewest digits
// that read back as the same double.
QString numberText(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString measureText(double measure)
{
    return std::isfinite(measure) ? QString::number(measure, 'g', 4) : QStringLiteral("none");
}

QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}

// The computations of a plan report nothing; they only see the caller's
// cancel.
class QuietMonitor : public RunMonitor
{
public:
    explicit QuietMonitor(RunMonitor* outer)
        : outer(outer)
    {}

    void setTotalSteps(int) override {}
    void setStep(int) override {}
    bool isCanceled() const override { return outer != nullptr && outer->isCanceled(); }
    void error(const QString&) override {}
    void setCanceled(bool) override {}

private:
    RunMonitor* outer;
};

// The target's measure for one design of a single point, or why there is
// none.
struct Measured
{
    double measure = infinity;
    QString message;
};

// A design whose range holder is fixed at its value at point i: the design
// a plan varies at that point.
Design atPoint(const Design& design, int i)
{
    Design point = design;
    const QString holder = design.inputs.rangeHolder();
    if (!holder.isEmpty()) {
        point.inputs.field(holder).text = numberText(design.inputs.pointAt(i));
        point.inputs.setRangeHolder(QString());
    }
    return point;
}

// Every search of a plan measures designs through this: one computation of a
// single-point design, read for the target's quantity.
class Measurer
{
public:
    Measurer(const PlanTarget& target, RunMonitor* outer)
        : target(target)
        , quiet(outer)
    {}

    Measured operator()(const Design& design)
    {
        if (cancelled)
            return {infinity, QStringLiteral("Cancelled!")};
        const std::unique_ptr<DesignComputation> computation = DesignComputation::of(design);
        QString message;
        const DesignComputation::Outcome outcome = computation->run(quiet, &message);
        if (outcome == DesignComputation::Cancelled)
            cancelled = true;
        if (outcome != DesignComputation::Computed)
            return {infinity, message};
        const PrecisionTable table = computation->precisionTable();
        const int q = static_cast<int>(table.names.indexOf(target.quantity));
        if (q < 0 || table.pointCount() != 1)
            return {infinity, QStringLiteral("No %1 computed").arg(target.quantity)};
        return {target.measureOf(table.estimates(0, q), table.variances(0, q)), QString()};
    }

    const PlanTarget& target;
    bool cancelled = false;

private:
    QuietMonitor quiet;
};

// The smallest n in [low, high] whose measure meets the target, the measure
// falling as n grows: tried first at guess and below it (where a good guess
// finds the answer with two computations), then by doubling steps to a
// bracket and by bisection within it. Answers high + 1 when even high does
// not meet the target. measureAt keeps what it computed.
qint64 smallestMeeting(qint64 low, qint64 high, qint64 guess, const PlanTarget& target,
                       const std::function<double(qint64)>& measureAt)
{
    const auto met = [&](qint64 n) { return target.isMetBy(measureAt(n)); };
    qint64 below = low - 1;
    qint64 above = high + 1;
    const qint64 start = std::clamp(guess, low, high);
    if (met(start)) {
        above = start;
        for (qint64 step = 1; above > low; step *= 2) {
            const qint64 n = std::max(low, above - step);
            if (!met(n)) {
                below = n;
                break;
            }
            above = n;
        }
    } else {
        below = start;
        for (qint64 step = 1; below < high; step *= 2) {
            const qint64 n = std::min(high, below + step);
            if (met(n)) {
                above = n;
                break;
            }
            below = n;
        }
    }
    if (above > high)
        return above;
    while (above - below > 1) {
        const qint64 mid = below + (above - below) / 2;
        if (met(mid))
            above = mid;
        else
            below = mid;
    }
    return above;
}

// The guess from the exact proportionality: every variance is proportional
// to 1/n, so a measure m at n fish becomes the target at n·(m/target)².
qint64 proportionalGuess(qint64 n, double measure, double target)
{
    if (!std::isfinite(measure))
        return n;
    const double guess = std::ceil(double(n) * (measure / target) * (measure / target) - 1e-9);
    return guess > double(INT_MAX) ? INT_MAX : std::max<qint64>(1, qint64(guess));
}

// The largest whole number an Integer field can take.
int fieldMaximum(const InputField& field)
{
    const double limit = std::min(field.editMax, double(INT_MAX) + 1.0);
    return static_cast<int>(std::ceil(limit) - 1.0);
}

// Splits total into whole numbers in the proportions of base, by the largest
// remainders, so that they add up to total.
QList<int> proportionalSplit(const QList<int>& base, long total)
{
    long sum = 0;
    for (int b : base)
        sum += b;
    QList<int> parts;
    QList<QPair<double, int>> remainders;
    long given = 0;
    for (int k = 0; k < base.size(); ++k) {
        const double exact = double(total) * base[k] / double(sum);
        parts << static_cast<int>(std::floor(exact));
        given += parts.last();
        remainders.append({exact - std::floor(exact), k});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int r = 0; given < total && r < remainders.size(); ++r, ++given)
        ++parts[remainders[r].second];
    return parts;
}

QString fieldsText(const QList<QPair<QString, QString>>& fields)
{
    QStringList parts;
    for (const auto& [key, text] : fields)
        parts << key + QStringLiteral(" = ") + text;
    return parts.join(QStringLiteral(", "));
}

// The plan of one design at its points; each solve fills the row of one
// point, or ends the plan with an error.
class Planning
{
public:
    Planning(const Design& design, const PlanRequest& request, RunMonitor* monitor)
        : design(design)
        , request(request)
        , measure(request.target, monitor)
    {}

    bool solveReleaseSize(const Design& point, PlanRow* row, QString* error);
    bool solveSplit(const Design& point, PlanRow* row, QString* error);
    bool solveProbability(const Design& point, PlanRow* row, QString* error);

    const Design& design;
    const PlanRequest& request;
    Measurer measure;
};

bool Planning::solveReleaseSize(const Design& point, PlanRow* row, QString* error)
{
    const QStringList keys = planner::releaseFields(point);
    QList<int> base;
    long total = 0;
    long maximum = LONG_MAX;
    for (const QString& key : keys) {
        base << point.inputs.intValueAt(key, 0);
        total += base.last();
    }
    if (total <= 0) {
        *error = QStringLiteral("No fish are released in %1: the release sizes scale from what "
                                "the design releases")
                     .arg(listed(keys));
        return false;
    }
    // Scaled with the base's own proportions, every field stays below its
    // maximum up to this total.
    for (int k = 0; k < keys.size(); ++k) {
        if (base[k] > 0)
            maximum = std::min(maximum,
                               long(std::floor(double(fieldMaximum(point.inputs.field(keys[k]))) *
                                               double(total) / base[k])));
    }
    const int high = static_cast<int>(std::min<long>(maximum, INT_MAX - 1));

    std::map<int, Measured> measured;
    // Release sizes of 0 stay 0 and are left as they are.
    const auto fieldsAt = [&](int n) {
        const QList<int> parts = proportionalSplit(base, n);
        QList<QPair<QString, QString>> fields;
        for (int k = 0; k < keys.size(); ++k) {
            if (base[k] > 0)
                fields.append({keys[k], QString::number(parts[k])});
        }
        return fields;
    };
    const auto measureAt = [&](int n) {
        auto found = measured.find(n);
        if (found == measured.end()) {
            Design scaled = point;
            for (const auto& [key, text] : fieldsAt(n))
                scaled.inputs.field(key).text = text;
            found = measured.emplace(n, measure(scaled)).first;
        }
        return found->second.measure;
    };

    const int start = static_cast<int>(std::min<long>(total, high));
    const double current = measureAt(start);
    const qint64 guess = proportionalGuess(start, current, request.target.value);
    const int n = static_cast<int>(
        std::min<qint64>(high + 1LL, smallestMeeting(1, high, guess, request.target,
                                                     [&](qint64 n) { return measureAt(int(n)); })));
    if (measure.cancelled)
        return true;
    if (n > high) {
        row->message =
            QStringLiteral("cannot be met with up to %1 fish: %2 = %3 there")
                .arg(high)
                .arg(PlanTarget::measureName(request.target.measure), measureText(measureAt(high)));
        row->achieved = measureAt(high);
        return true;
    }
    row->met = true;
    row->fields = fieldsAt(n);
    row->answer = QStringLiteral("%1 fish: %2").arg(n).arg(fieldsText(row->fields));
    row->achieved = measureAt(n);
    if (n > 1) {
        row->shortMeasure = measureAt(n - 1);
        row->shortAnswer = QStringLiteral("%1 fish").arg(n - 1);
    } else {
        row->shortMeasure = std::nan("");
    }
    return true;
}

bool Planning::solveSplit(const Design& point, PlanRow* row, QString* error)
{
    const QPair<QString, QString> groups = planner::groupFields(point.kind);
    const QString& control = groups.first;
    const QString& treatment = groups.second;
    const QString linkSwitch = QStringLiteral("linkReleases");

    // The two groups' sizes as the design has them: one that follows the
    // other while they are linked takes its value.
    Design unlinked = point;
    const bool linked = point.inputs.switches.value(linkSwitch, false);
    const QString leader = point.inputs.field(control).enabled ? control : treatment;
    const int controlNow = point.inputs.intValueAt(linked ? leader : control, 0);
    const int treatmentNow = point.inputs.intValueAt(linked ? leader : treatment, 0);
    unlinked.inputs.switches[linkSwitch] = false;
    designs::info(point.kind).applySwitches(unlinked.inputs);

    const qint64 high =
        std::min<qint64>(INT_MAX - 1, qint64(fieldMaximum(point.inputs.field(control))) +
                                          fieldMaximum(point.inputs.field(treatment)));
    const qint64 total = request.total > 0 ? request.total : qint64(controlNow) + treatmentNow;
    if (total > high) {
        *error = QStringLiteral("A total of %1 fish is beyond what %2 and %3 can hold: at most %4")
                     .arg(total)
                     .arg(control, treatment)
                     .arg(high);
        return false;
    }
    if (total < 2) {
        *error = QStringLiteral("A total of %1 fish cannot be split between %2 and %3: at least "
                                "2 are needed")
                     .arg(total)
                     .arg(control, treatment);
        return false;
    }

    std::map<QPair<int, int>, Measured> measured;
    const auto measureSplit = [&](int n, int c) {
        const QPair<int, int> key{n, c};
        auto found = measured.find(key);
        if (found == measured.end()) {
            Design split = unlinked;
            split.inputs.field(control).text = QString::number(c);
            split.inputs.field(treatment).text = QString::number(n - c);
            found = measured.emplace(key, measure(split)).first;
        }
        return found->second.measure;
    };

    // The split of the given total with the smallest variance: the measure
    // falls and then rises as fish move from one group to the other
    // (a/c + b/(n - c) for the closed-form designs), so thirds of the
    // interval are cut off until a few splits remain.
    int low = 1;
    int upper = static_cast<int>(total) - 1;
    while (upper - low > 2 && !measure.cancelled) {
        const int m1 = low + (upper - low) / 3;
        const int m2 = upper - (upper - low) / 3;
        if (measureSplit(int(total), m1) < measureSplit(int(total), m2))
            upper = m2 - 1;
        else
            low = m1 + 1;
    }
    int best = low;
    for (int c = low + 1; c <= upper; ++c) {
        if (measureSplit(int(total), c) < measureSplit(int(total), best))
            best = c;
    }
    if (measure.cancelled)
        return true;
    row->bestSplit =
        QStringLiteral("%1 = %2, %3 = %4").arg(control).arg(best).arg(treatment).arg(total - best);
    row->bestSplitMeasure = measureSplit(int(total), best);

    // The best split keeps its proportion as the total changes (every
    // variance is proportional to 1/n at a fixed proportion): the best whole
    // split of n lies next to that proportion of n.
    const double share = double(best) / double(total);
    // From there, one fish at a time towards the smaller measure.
    const auto bestControl = [&](int n) {
        int c = std::clamp(static_cast<int>(std::lround(share * n)), 1, n - 1);
        for (int direction : {1, -1}) {
            while (c + direction >= 1 && c + direction <= n - 1 &&
                   measureSplit(n, c + direction) < measureSplit(n, c))
                c += direction;
        }
        return c;
    };
    const auto measureAt = [&](qint64 n) {
        return n < 2 ? infinity : measureSplit(int(n), bestControl(int(n)));
    };
    const qint64 guess = proportionalGuess(total, row->bestSplitMeasure, request.target.value);
    const int n = static_cast<int>(smallestMeeting(2, high, guess, request.target, measureAt));
    if (measure.cancelled)
        return true;
    if (n > high) {
        row->message = QStringLiteral("cannot be met with up to %1 fish: %2 = %3 there")
                           .arg(high)
                           .arg(PlanTarget::measureName(request.target.measure),
                                measureText(measureAt(int(high))));
        row->achieved = measureAt(int(high));
        return true;
    }
    const int c = bestControl(n);
    row->met = true;
    row->switches = {{linkSwitch, false}};
    row->fields = {{control, QString::number(c)}, {treatment, QString::number(n - c)}};
    row->answer = QStringLiteral("%1 fish: %2").arg(n).arg(fieldsText(row->fields));
    row->achieved = measureAt(n);
    row->shortMeasure = n > 2 ? measureAt(n - 1) : std::nan("");
    if (n > 2)
        row->shortAnswer = QStringLiteral("%1 fish").arg(n - 1);
    return true;
}

bool Planning::solveProbability(const Design& point, PlanRow* row, QString*)
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

QString designTitle(const Design& design)
{
    return designs::info(design.kind).title;
}

// Checks a request against the design before any point is planned.
bool requestError(const Design& design, const PlanRequest& request, QString* error)
{
    const PlanTarget& target = request.target;
    if (!(target.value > 0) || !std::isfinite(target.value)) {
        *error = QStringLiteral("The target %1 of %2 must be a number above 0: %3 was asked")
                     .arg(PlanTarget::measureName(target.measure), target.quantity,
                          numberText(target.value));
        return true;
    }
    const Refusal refused =
        refusedField(design.inputs, designs::info(design.kind).firstIllegal(design.inputs));
    if (!refused.isNull()) {
        *error = refused.text();
        return true;
    }
    const QString holder = design.inputs.rangeHolder();
    const QString holderName = holder.isEmpty() ? QString() : design.inputs.field(holder).name;
    switch (request.solve) {
    case PlanRequest::ReleaseSize:
        if (planner::releaseFields(design).contains(holder)) {
            *error = QStringLiteral("The release sizes are solved for, so %1 cannot hold the "
                                    "range: give it one value, or a range to another input")
                         .arg(holderName);
            return true;
        }
        break;
    case PlanRequest::Split: {
        const QPair<QString, QString> groups = planner::groupFields(design.kind);
        if (groups.first.isEmpty()) {
            *error = QStringLiteral("The %1 design has no two groups to split: a split is solved "
                                    "for the %2, %3 and %4 designs")
                         .arg(designTitle(design), PairedReleaseInputs::windowTitle,
                              TIRRInputs::title, BTPSInputs::title);
            return true;
        }
        if (!holder.isEmpty() && (holder == groups.first || holder == groups.second)) {
            *error = QStringLiteral("The split of %1 and %2 is solved for, so %3 cannot hold the "
                                    "range: give it one value, or a range to another input")
                         .arg(groups.first, groups.second, holderName);
            return true;
        }
        if (request.total < 0) {
            *error = QStringLiteral("A total of %1 fish cannot be split").arg(request.total);
            return true;
        }
        break;
    }
    case PlanRequest::Probability: {
        const QStringList fields = planner::probabilityFields(design);
        if (!fields.contains(request.field)) {
            *error = QStringLiteral("\"%1\" is no probability of the %2 design that can be solved "
                                    "for: those are %3")
                         .arg(request.field, designTitle(design), listed(fields));
            return true;
        }
        if (request.field == holder) {
            *error = QStringLiteral("%1 is solved for, so it cannot hold the range: give it one "
                                    "value, or a range to another input")
                         .arg(holderName);
            return true;
        }
        break;
    }
    }
    return false;
}

// The design as the plan computes it: the single release's total survival
// is computed when it is the target.
Design plannedDesign(const Design& design, const PlanTarget& target)
{
    Design planned = design;
    if (design.kind == Design::SingleRelease && target.quantity == QStringLiteral("CompositeS"))
        planned.options.totalSurvival = true;
    return planned;
}

} // namespace

QString Plan::title() const
{
    const QString target = request.target.describe();
    switch (request.solve) {
    case PlanRequest::ReleaseSize:
        return QStringLiteral("Release size for a %1").arg(target);
    case PlanRequest::Split:
        return QStringLiteral("Split of the release for a %1").arg(target);
    case PlanRequest::Probability:
        break;
    }
    return QStringLiteral("%1 for a %2").arg(request.field, target);
}

namespace planner {

bool plan(const Design& design, const PlanRequest& request, Plan* plan, QString* error,
          RunMonitor* monitor)
{
    if (requestError(design, request, error))
        return false;
    const Design planned = plannedDesign(design, request.target);
    QString quantityError;
    const QStringList known = quantities(planned, &quantityError);
    if (known.isEmpty()) {
        *error = quantityError;
        return false;
    }
    if (!known.contains(request.target.quantity)) {
        *error = QStringLiteral("The %1 design does not estimate \"%2\": its quantities are %3")
                     .arg(designTitle(design), request.target.quantity, listed(known));
        return false;
    }

    Plan result;
    result.request = request;
    result.xName = design.inputs.rangeName();
    result.xType = design.inputs.range().editType();
    if (result.xName.isNull())
        result.xName = QString();
    const int points = design.inputs.numPoints();
    if (monitor != nullptr)
        monitor->setTotalSteps(points);
    Planning planning(planned, request, monitor);
    for (int i = 0; i < points; ++i) {
        if (monitor != nullptr)
            monitor->setStep(i);
        const Design point = atPoint(planned, i);
        PlanRow row;
        row.x = design.inputs.rangeHolder().isEmpty() ? 0.0 : design.inputs.pointAt(i);
        try {
            bool solved = false;
            switch (request.solve) {
            case PlanRequest::ReleaseSize:
                solved = planning.solveReleaseSize(point, &row, error);
                break;
            case PlanRequest::Split:
                solved = planning.solveSplit(point, &row, error);
                break;
            case PlanRequest::Probability:
                solved = planning.solveProbability(point, &row, error);
                break;
            }
            if (!solved)
                return false;
        } catch (const QString& text) {
            *error = text;
            return false;
        }
        if (planning.measure.cancelled || (monitor != nullptr && monitor->isCanceled())) {
            *error = QStringLiteral("Cancelled!");
            return false;
        }
        result.rows.append(row);
    }
    if (monitor != nullptr)
        monitor->setStep(points);
    *plan = result;
    return true;
}

Design withAnswer(const Design& design, const PlanRow& row)
{
    Design answered = design;
    for (auto s = row.switches.begin(); s != row.switches.end(); ++s)
        answered.inputs.switches[s.key()] = s.value();
    designs::info(design.kind).applySwitches(answered.inputs);
    for (const auto& [key, text] : row.fields)
        answered.inputs.field(key).text = text;
    return answered;
}

QStringList quantities(const Design& design, QString* error)
{
    Design first = atPoint(design, 0);
    if (first.kind == Design::SingleRelease)
        first.options.totalSurvival = true;
    const std::unique_ptr<DesignComputation> computation = DesignComputation::of(first);
    QuietMonitor quiet(nullptr);
    if (computation->run(quiet, error) != DesignComputation::Computed)
        return {};
    return computation->precisionTable().names;
}

QStringList probabilityFields(const Design& design)
{
    const DesignInfo& info = designs::info(design.kind);
    QStringList keys;
    for (const InputField& field : design.inputs.fields()) {
        if (!field.enabled || field.editType != RangeArithmetic::Real)
            continue;
        // The design's own check decides: 1 passes, more than 1 does not.
        StudyInputs varied = design.inputs;
        if (varied.holdsRange(field.key))
            varied.setRangeHolder(QString());
        varied.field(field.key).text = QStringLiteral("1");
        if (!info.firstIllegal(varied).isNull())
            continue;
        varied.field(field.key).text = QStringLiteral("1.5");
        if (!info.firstIllegal(varied).isNull())
            keys << field.key;
    }
    return keys;
}

QStringList releaseFields(const Design& design)
{
    QStringList keys;
    for (const InputField& field : design.inputs.fields()) {
        if (field.enabled && field.editType == RangeArithmetic::Integer)
            keys << field.key;
    }
    return keys;
}

QPair<QString, QString> groupFields(Design::Kind kind)
{
    switch (kind) {
    case Design::PairedRelease:
        return {PairedReleaseInputs::controlReleaseKey, PairedReleaseInputs::treatmentReleaseKey};
    case Design::TIRR:
        return {TIRRInputs::rcKey, TIRRInputs::rtKey};
    case Design::BTPS:
        return {BTPSInputs::rcKey, BTPSInputs::rtKey};
    case Design::SingleRelease:
    case Design::VWP:
        break;
    }
    return {};
}

} // namespace planner
