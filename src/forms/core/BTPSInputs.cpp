#include "forms/core/BTPSInputs.h"

#include "framework/settings/QVSettingsKeys.h"

namespace BTPSInputs {

QList<FieldSpec> fieldTable()
{
    return {
        {rcKey, QVSettingsKeys::BtpsRc, -1, RangeArithmetic::Integer},
        {rtKey, QVSettingsKeys::BtpsRt, -1, RangeArithmetic::Integer},
        {scKey, QVSettingsKeys::BtpsSc},
        {stKey, QVSettingsKeys::BtpsSt},
        {tKey, QVSettingsKeys::BtpsT},
        {paKey, QVSettingsKeys::BtpsPa},
        {pdKey, QVSettingsKeys::BtpsPd},
    };
}

// The variance divides by both release sizes and by Sc and Pa, so these must
// not be 0; a release size counts whole fish, so at least one. A passage
// survival of 0 (St or T) leaves no fish to estimate it from: its variance
// would be 0. A switch that turns a field off (St or T, Rt while linked)
// spares it its check.
Refusal firstIllegal(const StudyInputs& inputs)
{
    const Interval releaseSize = Interval::atLeast(1);
    const Interval divisor = Interval::halfOpen(0, 1);
    const Interval probability = Interval::closed(0, 1);
    return firstFailingField(inputs, {{rcKey, releaseSize},
                                      {rtKey, releaseSize},
                                      {scKey, divisor},
                                      {stKey, divisor},
                                      {tKey, divisor},
                                      {paKey, divisor},
                                      {pdKey, probability}});
}

void applySwitches(StudyInputs& inputs)
{
    const bool linked = inputs.switches.value(linkReleases, false);
    const bool st = inputs.switches.value(useSt, true);
    inputs.field(rcKey).name = linked ? linkedRcName : rcKey;
    inputs.field(rtKey).enabled = true;
    inputs.field(stKey).enabled = true;
    inputs.field(tKey).enabled = true;
    if (linked)
        inputs.disableField(rtKey);
    inputs.disableField(st ? tKey : stKey);
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
    inputs.switches = {{linkReleases, false}, {useSt, true}};
    applySwitches(inputs);
    return inputs;
}

} // namespace BTPSInputs
