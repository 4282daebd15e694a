#include "forms/core/SingleReleaseInputs.h"

#include "forms/core/ReleaseRecaptureInputs.h"
#include "framework/settings/QVSettingsKeys.h"

#include <algorithm>

namespace SingleReleaseInputs {

namespace {

QString numbered(const char* prefix, int k)
{
    return QLatin1String(prefix) + QString::number(k + 1);
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

QString releaseKey(int k)
{
    return numbered("R", k);
}

// R0 counts the fish of the release itself, at least one; a removal
// proportion of 1 is out of range.
FieldSpec firstReleaseField()
{
    return {firstReleaseKey, QVSettingsKeys::SrR0, -1, RangeArithmetic::Integer, 1};
}

FieldSpec lambdaField()
{
    return {lambdaKey, QVSettingsKeys::SrLambda, -1, RangeArithmetic::Real, 0};
}

QList<FieldSpec> reachFields(int k)
{
    return {
        {survivalKey(k), QVSettingsKeys::SrS, k},
        {captureKey(k), QVSettingsKeys::SrP, k},
        {removalKey(k), QVSettingsKeys::SrD, k, RangeArithmetic::Real, 0, 1},
        {releaseKey(k), QVSettingsKeys::SrR, k, RangeArithmetic::Integer},
    };
}

QList<FieldSpec> fieldTable(int reaches)
{
    QList<FieldSpec> table = {firstReleaseField()};
    for (int k = 0; k < panelCount(reaches); ++k)
        table << reachFields(k);
    table << lambdaField();
    return table;
}

int survivalChoiceId()
{
    return QVSettingsKeys::SrSi;
}

int captureChoiceId()
{
    return QVSettingsKeys::SrPi;
}

// Survival, capture and lambda are probabilities that must not be 0: a
// parameter that no fish gets past cannot be estimated, nor can those after
// it. A removal proportion may be 0 but not 1. R0 counts at least one fish
// (as its bounds say), so some fish are released at every point.
Refusal firstIllegal(const StudyInputs& inputs)
{
    const Interval probability = Interval::halfOpen(0, 1);
    QList<FieldCheck> checks = {{firstReleaseKey, Interval::atLeast(1)}};
    for (int k = 0; k < inputs.reaches - 1; ++k)
        checks << FieldCheck{survivalKey(k), probability} << FieldCheck{captureKey(k), probability}
               << FieldCheck{removalKey(k), Interval::closedOpen(0, 1)}
               << FieldCheck{releaseKey(k), Interval::atLeast(0)};
    checks << FieldCheck{lambdaKey, probability};
    return firstFailingField(inputs, checks);
}

void applySwitches(StudyInputs& inputs)
{
    const int panels = inputs.reaches - 1;
    ReleaseRecaptureInputs::applySharing(inputs, ReleaseRecaptureInputs::survivalOwner,
                                         ReleaseRecaptureInputs::panelKeys(panels, survivalKey));
    ReleaseRecaptureInputs::applySharing(inputs, ReleaseRecaptureInputs::captureOwner,
                                         ReleaseRecaptureInputs::panelKeys(panels, captureKey));
}

StudyInputs blankInputs(int reaches)
{
    StudyInputs inputs;
    inputs.reaches = panelCount(reaches) + 1;
    for (const FieldSpec& spec : fieldTable(inputs.reaches))
        inputs.addField(spec.blank());
    const QVector<int> own = ReleaseRecaptureInputs::ownChoices(panelCount(reaches));
    inputs.choices = {{ReleaseRecaptureInputs::survivalOwner, own},
                      {ReleaseRecaptureInputs::captureOwner, own}};
    applySwitches(inputs);
    return inputs;
}

} // namespace SingleReleaseInputs
