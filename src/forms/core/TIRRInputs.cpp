#include "forms/core/TIRRInputs.h"

#include "framework/settings/QVSettingsKeys.h"

#include <QStringList>

#include <limits>

namespace TIRRInputs {

QList<FieldSpec> fieldTable()
{
    return {
        {rcKey, QVSettingsKeys::TirrRc, -1, RangeArithmetic::Integer},
        {rtKey, QVSettingsKeys::TirrRt, -1, RangeArithmetic::Integer},
        {scKey, QVSettingsKeys::TirrSc},
        {pKey, QVSettingsKeys::TirrP},
        {thetaKey, QVSettingsKeys::TirrTheta},
        {tKey, QVSettingsKeys::TirrT},
    };
}

namespace {

// The field a failing check of θ·T refuses: the ranged one of the fields it
// is made of, else T.
QString derivedCheckKey(const StudyInputs& inputs, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (inputs.holdsRange(key))
            return key;
    }
    return tKey;
}

} // namespace

// The variance divides by both release sizes, by θ and by T, so none may be 0;
// a release size counts whole fish, so at least one. A treatment fish returns
// with probability θ·T, which must not exceed 1 at any point. A switch that
// turns a field off (Sc and P, or Sc*P; Rt while linked) spares it its check.
Refusal firstIllegal(const StudyInputs& inputs)
{
    const Interval releaseSize = Interval::atLeast(1);
    const Interval divisor = Interval::halfOpen(0, 1);
    const double infinity = std::numeric_limits<double>::infinity();
    const Refusal failing = firstFailingField(inputs, {{rcKey, releaseSize},
                                                       {rtKey, releaseSize},
                                                       {scKey, divisor},
                                                       {pKey, divisor},
                                                       {thetaKey, divisor},
                                                       {tKey, Interval::halfOpen(0, infinity)}});
    if (!failing.isNull())
        return failing;

    const bool theta = inputs.switches.value(useTheta, false);
    const QStringList thetaKeys = theta ? QStringList{thetaKey} : QStringList{scKey, pKey};
    try {
        for (int i = 0; i < inputs.numPoints(); ++i) {
            const double returnRate = theta ? inputs.valueAt(thetaKey, i)
                                            : inputs.valueAt(scKey, i) * inputs.valueAt(pKey, i);
            if (returnRate * inputs.valueAt(tKey, i) > 1.0)
                return refusal(inputs, derivedCheckKey(inputs, thetaKeys + QStringList{tKey}),
                               QStringLiteral("must keep the treatment's return Sc*P*T at most 1"));
        }
    } catch (const QString&) {
        // A value that cannot be read is reported when the inputs are taken.
    }
    return {};
}

void applySwitches(StudyInputs& inputs)
{
    const bool linked = inputs.switches.value(linkReleases, false);
    const bool theta = inputs.switches.value(useTheta, false);
    inputs.field(rcKey).name = linked ? linkedRcName : rcKey;
    for (const QString& key : {rtKey, scKey, pKey, thetaKey})
        inputs.field(key).enabled = true;
    if (linked)
        inputs.disableField(rtKey);
    if (theta) {
        inputs.disableField(scKey);
        inputs.disableField(pKey);
    } else {
        inputs.disableField(thetaKey);
    }
}

QList<QPair<QString, QString>> releaseLinks(const StudyInputs& inputs)
{
    if (inputs.switches.value(linkReleases, false))
        return {{rtKey, rcKey}};
    return {};
}

StudyInputs blankInputs()
{
    StudyInputs inputs;
    for (const FieldSpec& row : fieldTable())
        inputs.addField(row.blank());
    inputs.switches = {{linkReleases, false}, {useTheta, false}};
    applySwitches(inputs);
    return inputs;
}

} // namespace TIRRInputs
