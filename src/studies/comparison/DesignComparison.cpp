#include "studies/comparison/DesignComparison.h"

#include "studies/common/ResultsCsv.h"
#include "studies/common/RunMonitor.h"
#include "studies/planning/Planner.h"
#include "studies/planning/search/PlanMeasurer.h"
#include "studies/planning/search/PlanSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The design a comparison varies: fixed at the first point of its range, as
// the planner computes it for the target's quantity.
Design comparedPoint(const ComparedDesign& compared, const PlanTarget& target)
{
    return planner::plannedDesign(planning::atPoint(compared.design, 0), target);
}

// The measure of compared with its release sizes scaled to fish in all.
planning::Measured measureWithFish(const ComparedDesign& compared, const PlanTarget& target,
                                   qint64 fish, RunMonitor* monitor,
                                   QList<QPair<QString, QString>>* fields, qint64* released)
{
    Design scaled;
    QString error;
    if (!planner::scaledTo(comparedPoint(compared, target), fish, &scaled, fields, released,
                           &error))
        return {std::numeric_limits<double>::infinity(), error};
    planning::PlanMeasurer measure(target, monitor);
    return measure(scaled);
}

ComparisonEntry entryOf(const ComparedDesign& compared)
{
    const DesignInfo& info = designs::info(compared.design.kind);
    ComparisonEntry entry;
    entry.label = compared.label;
    entry.design = info.name;
    entry.title = info.title;
    entry.quantity = compared.quantity;
    entry.shortMeasure = std::nan("");
    return entry;
}

// One design against a target: the planner's fewest fish.
bool answerTarget(const ComparedDesign& compared, const PlanTarget& target, RunMonitor* monitor,
                  ComparisonEntry* entry, QString* error)
{
    PlanRequest request;
    request.solve = PlanRequest::ReleaseSize;
    request.target = target;
    Plan plan;
    if (!planner::plan(planning::atPoint(compared.design, 0), request, &plan, error, monitor))
        return false;
    const PlanRow& row = plan.rows.first();
    entry->answered = row.met;
    entry->met = row.met;
    entry->message = row.message;
    entry->totalFish = row.totalFish;
    entry->releaseSizes = row.fields;
    entry->measure = row.achieved;
    entry->shortMeasure = row.shortMeasure;
    return true;
}

// One design with the budget: its measure there.
void answerBudget(const ComparedDesign& compared, const ComparisonRequest& request,
                  const PlanTarget& target, RunMonitor* monitor, ComparisonEntry* entry)
{
    qint64 released = 0;
    const planning::Measured measured =
        measureWithFish(compared, target, request.budget, monitor, &entry->releaseSizes, &released);
    entry->answered = measured.message.isEmpty();
    entry->message = measured.message;
    entry->measure = measured.measure;
    if (entry->answered) {
        entry->totalFish = released;
        entry->met = request.judgesMet() && target.isMetBy(measured.measure);
    }
}

} // namespace

PlanTarget ComparisonRequest::targetFor(const ComparedDesign& compared) const
{
    double targetValue = value;
    // Without a value a budget still needs one the target takes: the measure
    // alone is asked for, which no check reads.
    if (mode == Budget && !(targetValue > 0))
        targetValue = measure == PlanTarget::Power ? 0.5 : 1.0;
    return PlanTarget(compared.quantity, measure, targetValue, compared.design.options.effect);
}

QString ComparisonRequest::describe() const
{
    const QString name = PlanTarget::measureName(measure);
    const QString bound =
        measure == PlanTarget::Power ? QStringLiteral("at least") : QStringLiteral("at most");
    if (mode == Target)
        return QStringLiteral("Fewest fish for a %1 %2 %3")
            .arg(name, bound, QString::number(value, 'g', 6));
    QString text = QStringLiteral("%1 with %2 fish").arg(name).arg(budget);
    if (value > 0)
        text += QStringLiteral(" (target %1 %2)").arg(bound, QString::number(value, 'g', 6));
    return text;
}

int Comparison::best() const
{
    int best = -1;
    for (int i = 0; i < entries.size(); ++i) {
        const ComparisonEntry& entry = entries[i];
        if (!entry.answered || (request.mode == ComparisonRequest::Target && !entry.met))
            continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const ComparisonEntry& leader = entries[best];
        if (request.mode == ComparisonRequest::Target) {
            if (entry.totalFish < leader.totalFish)
                best = i;
        } else {
            const PlanTarget target(entry.quantity, request.measure, 1.0);
            if (target.isBetter(entry.measure, leader.measure))
                best = i;
        }
    }
    return best;
}

namespace comparison {

bool compare(const QList<ComparedDesign>& designs, const ComparisonRequest& request,
             Comparison* comparison, QString* error, RunMonitor* monitor)
{
    if (designs.size() < minimumDesigns || designs.size() > maximumDesigns) {
        *error = QStringLiteral("A comparison takes %1 to %2 designs: %3 were given")
                     .arg(minimumDesigns)
                     .arg(maximumDesigns)
                     .arg(designs.size());
        return false;
    }
    if (request.mode == ComparisonRequest::Budget && request.budget < 1) {
        *error = QStringLiteral("A budget must be a whole number of fish above 0: %1 was given")
                     .arg(request.budget);
        return false;
    }
    Comparison result;
    result.request = request;
    if (monitor != nullptr)
        monitor->setTotalSteps(designs.size());
    for (int d = 0; d < designs.size(); ++d) {
        if (monitor != nullptr)
            monitor->setStep(d);
        const ComparedDesign& compared = designs[d];
        const PlanTarget target = request.targetFor(compared);
        const QString refusal = target.error();
        if (!refusal.isNull()) {
            *error = compared.label + QStringLiteral(": ") + refusal;
            return false;
        }
        ComparisonEntry entry = entryOf(compared);
        if (request.mode == ComparisonRequest::Target) {
            QString planError;
            if (!answerTarget(compared, target, monitor, &entry, &planError)) {
                *error = planError == QStringLiteral("Cancelled!")
                             ? planError
                             : compared.label + QStringLiteral(": ") + planError;
                return false;
            }
        } else {
            QString quantityError;
            const QStringList known = planner::quantities(compared.design, &quantityError);
            if (known.isEmpty() || !known.contains(compared.quantity)) {
                *error =
                    compared.label + QStringLiteral(": ") +
                    (known.isEmpty() ? quantityError
                                     : QStringLiteral("the %1 design does not estimate \"%2\": its "
                                                      "quantities are %3")
                                           .arg(entryOf(compared).title, compared.quantity,
                                                known.join(QStringLiteral(", "))));
                return false;
            }
            answerBudget(compared, request, target, monitor, &entry);
        }
        if (monitor != nullptr && monitor->isCanceled()) {
            *error = QStringLiteral("Cancelled!");
            return false;
        }
        result.entries.append(entry);
    }
    if (monitor != nullptr)
        monitor->setStep(designs.size());
    *comparison = result;
    return true;
}

ComparisonCurve curve(const ComparedDesign& compared, const ComparisonRequest& request,
                      qint64 fewest, qint64 most, int count, RunMonitor* monitor)
{
    ComparisonCurve curve;
    curve.label = compared.label;
    const PlanTarget target = request.targetFor(compared);
    fewest = std::max<qint64>(1, fewest);
    most = std::max(fewest, most);
    qint64 previous = 0;
    for (int k = 0; k < count; ++k) {
        const double share = count > 1 ? double(k) / (count - 1) : 0.0;
        const qint64 fish = std::llround(double(fewest) * std::pow(double(most) / fewest, share));
        if (fish == previous)
            continue;
        previous = fish;
        if (monitor != nullptr && monitor->isCanceled())
            break;
        QList<QPair<QString, QString>> fields;
        qint64 released = 0;
        const planning::Measured measured =
            measureWithFish(compared, target, fish, monitor, &fields, &released);
        if (!measured.message.isEmpty() || !std::isfinite(measured.measure))
            continue;
        curve.fish.append(double(released));
        curve.measure.append(measured.measure);
    }
    return curve;
}

QPair<qint64, qint64> fishSpan(const Comparison& comparison)
{
    if (comparison.request.mode == ComparisonRequest::Budget)
        return {std::max<qint64>(1, comparison.request.budget / 4), comparison.request.budget * 4};
    qint64 fewest = std::numeric_limits<qint64>::max();
    qint64 most = 0;
    for (const ComparisonEntry& entry : comparison.entries) {
        if (!entry.met)
            continue;
        fewest = std::min(fewest, entry.totalFish);
        most = std::max(most, entry.totalFish);
    }
    if (most == 0)
        return {100, 10000};
    return {std::max<qint64>(1, fewest / 2), most * 2};
}

namespace {

QString measureText(double measure)
{
    return std::isfinite(measure) ? QString::number(measure, 'g', 6) : QString();
}

QString sizesText(const ComparisonEntry& entry)
{
    QStringList sizes;
    for (const auto& [key, text] : entry.releaseSizes)
        sizes << key + QStringLiteral(" = ") + text;
    return sizes.join(QStringLiteral(", "));
}

// The answer of one entry in words: "met", or why not.
QString outcomeText(const ComparisonEntry& entry, const ComparisonRequest& request)
{
    if (!entry.answered)
        return entry.message;
    if (request.judgesMet())
        return entry.met ? QStringLiteral("met") : QStringLiteral("not met");
    return QString();
}

} // namespace

QList<QStringList> table(const Comparison& comparison)
{
    const ComparisonRequest& request = comparison.request;
    const QString measure = PlanTarget::measureName(request.measure);
    QStringList heads = {QStringLiteral("Design"),        QStringLiteral("File"),
                         QStringLiteral("Quantity"),      QStringLiteral("Total fish"),
                         QStringLiteral("Release sizes"), measure};
    if (request.mode == ComparisonRequest::Target)
        heads << QStringLiteral("%1 one fish short").arg(measure);
    heads << QStringLiteral("Answer");
    QList<QStringList> rows = {heads};
    for (const ComparisonEntry& entry : comparison.entries) {
        QStringList row = {
            entry.title,      entry.label,
            entry.quantity,   entry.totalFish > 0 ? QString::number(entry.totalFish) : QString(),
            sizesText(entry), measureText(entry.measure)};
        if (request.mode == ComparisonRequest::Target)
            row << measureText(entry.shortMeasure);
        row << outcomeText(entry, request);
        rows << row;
    }
    return rows;
}

QString verdict(const Comparison& comparison)
{
    const int best = comparison.best();
    if (best < 0)
        return QString();
    const ComparisonEntry& entry = comparison.entries[best];
    // An open design is known by its title alone.
    const QString name = entry.label == entry.title
                             ? entry.title
                             : QStringLiteral("%1 (%2)").arg(entry.title, entry.label);
    if (comparison.request.mode == ComparisonRequest::Target)
        return QStringLiteral("Fewest fish: %1, %2 fish").arg(name).arg(entry.totalFish);
    return QStringLiteral("Best %1: %2, %3")
        .arg(PlanTarget::measureName(comparison.request.measure), name, measureText(entry.measure));
}

QString csv(const Comparison& comparison)
{
    QString text = ResultsCsv::row({QStringLiteral("design"), QStringLiteral("file"),
                                    QStringLiteral("quantity"), QStringLiteral("totalFish"),
                                    QStringLiteral("releaseSizes"), QStringLiteral("measure"),
                                    QStringLiteral("value"), QStringLiteral("shortMeasure"),
                                    QStringLiteral("met"), QStringLiteral("message")});
    const QString key = PlanTarget::measureKeys().value(comparison.request.measure);
    for (const ComparisonEntry& entry : comparison.entries) {
        text += ResultsCsv::row(
            {entry.design, entry.label, entry.quantity,
             entry.totalFish > 0 ? QString::number(entry.totalFish) : QString(), sizesText(entry),
             key, entry.answered ? ResultsCsv::number(entry.measure) : QString(),
             std::isfinite(entry.shortMeasure) ? ResultsCsv::number(entry.shortMeasure) : QString(),
             !comparison.request.judgesMet() ? QString()
             : entry.met                     ? QStringLiteral("true")
                                             : QStringLiteral("false"),
             entry.message});
    }
    return text;
}

bool splitSource(const QString& text, QString* file, QString* quantity)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0 || colon == text.size() - 1)
        return false;
    *file = text.left(colon);
    *quantity = text.mid(colon + 1);
    return true;
}

} // namespace comparison
