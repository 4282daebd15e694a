#include "studies/planning/Planner.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/InputField.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"
#include "studies/common/RunMonitor.h"
#include "studies/planning/DesignComputation.h"
#include "studies/planning/search/PlanSearch.h"
#include "studies/planning/search/PlanSolves.h"

#include <cmath>

using namespace planning;

namespace {

QString designTitle(const Design& design)
{
    return designs::info(design.kind).title;
}

// Checks a request against the design before any point is planned.
bool requestError(const Design& design, const PlanRequest& request, QString* error)
{
    *error = request.target.error();
    if (!error->isNull())
        return true;
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

Design plannedDesign(const Design& design, const PlanTarget& target)
{
    Design planned = design;
    if (design.kind == Design::SingleRelease && target.quantity == QStringLiteral("CompositeS"))
        planned.options.totalSurvival = true;
    return planned;
}

QString requestRefusal(const Design& design, const PlanRequest& request)
{
    QString error;
    if (requestError(design, request, &error))
        return error;
    const QStringList known = quantities(plannedDesign(design, request.target), &error);
    if (known.isEmpty())
        return error;
    if (!known.contains(request.target.quantity))
        return QStringLiteral("The %1 design does not estimate \"%2\": its quantities are %3")
            .arg(designTitle(design), request.target.quantity, listed(known));
    return QString();
}

bool plan(const Design& design, const PlanRequest& request, Plan* plan, QString* error,
          RunMonitor* monitor)
{
    *error = requestRefusal(design, request);
    if (!error->isNull())
        return false;
    const Design planned = plannedDesign(design, request.target);

    Plan result;
    result.request = request;
    result.xName = design.inputs.rangeName();
    result.xType = design.inputs.range().editType();
    if (result.xName.isNull())
        result.xName = QString();
    const int points = design.inputs.numPoints();
    if (monitor != nullptr)
        monitor->setTotalSteps(points);
    PlanMeasurer measure(request.target, monitor);
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
                solved = solveReleaseSize(point, request, measure, &row, error);
                break;
            case PlanRequest::Split:
                solved = solveSplit(point, request, measure, &row, error);
                break;
            case PlanRequest::Probability:
                solved = solveProbability(point, request, measure, &row, error);
                break;
            }
            if (!solved)
                return false;
        } catch (const QString& text) {
            *error = text;
            return false;
        }
        if (measure.cancelled || (monitor != nullptr && monitor->isCanceled())) {
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

QList<QPair<QString, QString>> releaseLinks(const Design& design)
{
    switch (design.kind) {
    case Design::PairedRelease:
        return PairedReleaseInputs::releaseLinks(design.inputs);
    case Design::TIRR:
        return TIRRInputs::releaseLinks(design.inputs);
    case Design::BTPS:
        return BTPSInputs::releaseLinks(design.inputs);
    case Design::VWP:
        return VWPInputs::releaseLinks(design.inputs);
    case Design::SingleRelease:
        break;
    }
    return {};
}

} // namespace planner
