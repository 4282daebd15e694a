#include "forms/core/PairedReleaseInputs.h"

#include "forms/core/ReleaseRecaptureInputs.h"
#include "framework/settings/QVSettingsKeys.h"

#include <algorithm>
#include <limits>

namespace PairedReleaseInputs {

namespace {

QString numbered(const char* prefix, int k)
{
    return QLatin1String(prefix) + QString::number(k + 2);
}

} // namespace

int panelCount(int reaches)
{
    return std::max(reaches, minimumReaches) - 1;
}

QString survivalKey(int k)
{
    return numbered("S", k);
}

QString captureKey(int k)
{
    return numbered("P", k);
}

QString removalKey(int k)
{
    return numbered("D", k);
}

QList<FieldSpec> releaseFields()
{
    const double noMax = FieldSpec().editMax;
    const double noMin = FieldSpec().editMin;
    return {
        {treatmentReleaseKey, QVSettingsKeys::PrRt, -1, RangeArithmetic::Integer, 0, noMax,
         treatmentName},
        {treatmentSurvivalKey, QVSettingsKeys::PrSt, -1, RangeArithmetic::Real, noMin, noMax,
         QStringLiteral("St")},
        {controlReleaseKey, QVSettingsKeys::PrRc, -1, RangeArithmetic::Integer, 0, noMax,
         QStringLiteral("Rc")},
        {controlSurvivalKey, QVSettingsKeys::PrSc, -1, RangeArithmetic::Real, noMin, noMax,
         QStringLiteral("Sc")},
        {firstCaptureKey, QVSettingsKeys::PrP1},
        {firstRemovalKey, QVSettingsKeys::PrD1},
    };
}

FieldSpec lambdaField()
{
    return {lambdaKey, QVSettingsKeys::PrLambda, -1, RangeArithmetic::Real, 0};
}

QList<FieldSpec> reachFields(int k)
{
    return {
        {survivalKey(k), QVSettingsKeys::PrS, k},
        {captureKey(k), QVSettingsKeys::PrP, k},
        {removalKey(k), QVSettingsKeys::PrD, k, RangeArithmetic::Real, 0, 1},
    };
}

QList<FieldSpec> fieldTable(int reaches)
{
    QList<FieldSpec> table = releaseFields();
    for (int k = 0; k < panelCount(reaches); ++k)
        table << reachFields(k);
    table << lambdaField();
    return table;
}

int survivalChoiceId()
{
    return QVSettingsKeys::PrSi;
}

int captureChoiceId()
{
    return QVSettingsKeys::PrPi;
}

// Probabilities must not be 0 (a parameter no fish gets past cannot be
// estimated, nor those after it); St, the ratio of the two first-reach
// survivals, may exceed 1 but not make the treatment's survival Sc * St
// exceed it. A removal proportion may be 0 but not 1. Each group counts whole
// fish, at least one: without treatment or control fish St cannot be
// estimated. While RC follows RT its checks are RT's.
Refusal firstIllegal(const StudyInputs& inputs)
{
    const Interval probability = Interval::halfOpen(0, 1);
    const Interval releaseSize = Interval::atLeast(1);
    Refusal failing = firstFailingField(
        inputs, {{treatmentReleaseKey, releaseSize}, {controlReleaseKey, releaseSize}});
    if (!failing.isNull())
        return failing;

    const Interval ratio = {0, std::numeric_limits<double>::infinity(), true};
    failing = firstFailingField(inputs,
                                {{treatmentSurvivalKey, ratio}, {controlSurvivalKey, probability}});
    if (!failing.isNull())
        return failing;
    if (ReleaseRecaptureInputs::firstPointFailing(inputs, [&](int i) {
            return inputs.valueAt(controlSurvivalKey, i) *
                       inputs.valueAt(treatmentSurvivalKey, i) <=
                   1.0;
        }) >= 0)
        return refusal(
            inputs,
            ReleaseRecaptureInputs::derivedKey(inputs, {treatmentSurvivalKey, controlSurvivalKey},
                                               treatmentSurvivalKey),
            QStringLiteral("must keep the treatment's survival Sc*St at most 1"));

    QList<FieldCheck> checks = {{firstCaptureKey, probability},
                                {firstRemovalKey, Interval::closedOpen(0, 1)}};
    for (int k = 0; k < inputs.reaches - 1; ++k)
        checks << FieldCheck{survivalKey(k), probability} << FieldCheck{captureKey(k), probability}
               << FieldCheck{removalKey(k), Interval::closedOpen(0, 1)};
    checks << FieldCheck{lambdaKey, probability};
    return firstFailingField(inputs, checks);
}

void applySwitches(StudyInputs& inputs)
{
    const bool linked = inputs.switches.value(linkReleases, false);
    inputs.field(treatmentReleaseKey).name = linked ? linkedTreatmentName : treatmentName;
    if (linked)
        inputs.disableField(controlReleaseKey);
    else
        inputs.field(controlReleaseKey).enabled = true;

    const int panels = inputs.reaches - 1;
    ReleaseRecaptureInputs::applySharing(inputs, ReleaseRecaptureInputs::survivalOwner,
                                         ReleaseRecaptureInputs::panelKeys(panels, survivalKey));
    ReleaseRecaptureInputs::applySharing(inputs, ReleaseRecaptureInputs::captureOwner,
                                         ReleaseRecaptureInputs::panelKeys(panels, captureKey));
}

QList<QPair<QString, QString>> releaseLinks(const StudyInputs& inputs)
{
    if (inputs.switches.value(linkReleases, false))
        return {{controlReleaseKey, treatmentReleaseKey}};
    return {};
}

StudyInputs blankInputs(int reaches)
{
    StudyInputs inputs;
    inputs.reaches = panelCount(reaches) + 1;
    for (const FieldSpec& spec : fieldTable(inputs.reaches))
        inputs.addField(spec.blank());
    inputs.switches = {{linkReleases, false}};
    const QVector<int> own = ReleaseRecaptureInputs::ownChoices(panelCount(reaches));
    inputs.choices = {{ReleaseRecaptureInputs::survivalOwner, own},
                      {ReleaseRecaptureInputs::captureOwner, own}};
    applySwitches(inputs);
    return inputs;
}

} // namespace PairedReleaseInputs
