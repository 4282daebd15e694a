#include "forms/core/VWPInputs.h"

#include "framework/settings/QVSettingsKeys.h"

namespace VWPInputs {

QList<FieldSpec> fieldTable()
{
    return {
        {v1Key, QVSettingsKeys::VwpV1, -1, RangeArithmetic::Integer},
        {r2Key, QVSettingsKeys::VwpR2, -1, RangeArithmetic::Integer},
        {r3Key, QVSettingsKeys::VwpR3, -1, RangeArithmetic::Integer},
        {sDamKey, QVSettingsKeys::VwpS1dam},
        {sPrime11Key, QVSettingsKeys::VwpSprime12},
        {s12Key, QVSettingsKeys::VwpS12},
        {p1Key, QVSettingsKeys::VwpP1},
        {p2Key, QVSettingsKeys::VwpP2},
        {lambdaKey, QVSettingsKeys::VwpLambda},
    };
}

// Every release counts whole fish, at least one, and every probability lies
// in (0, 1]: the estimates divide by each of them. Release sizes that follow
// another are disabled and spared their check.
Refusal firstIllegal(const StudyInputs& inputs)
{
    const Interval releaseSize = Interval::atLeast(1);
    const Interval probability = Interval::halfOpen(0, 1);
    return firstFailingField(inputs, {{v1Key, releaseSize},
                                      {r2Key, releaseSize},
                                      {r3Key, releaseSize},
                                      {sDamKey, probability},
                                      {sPrime11Key, probability},
                                      {s12Key, probability},
                                      {p1Key, probability},
                                      {p2Key, probability},
                                      {lambdaKey, probability}});
}

// Linking all three releases turns the link of R2 and R3 off.
void applySwitches(StudyInputs& inputs)
{
    const bool all = inputs.switches.value(linkAllReleases, false);
    if (all)
        inputs.switches[linkReleases] = false;
    const bool r2r3 = inputs.switches.value(linkReleases, false);
    inputs.field(v1Key).name = all ? linkedV1Name : v1Key;
    inputs.field(r2Key).name = r2r3 ? linkedR2Name : r2Key;
    inputs.field(r2Key).enabled = true;
    inputs.field(r3Key).enabled = true;
    if (all)
        inputs.disableField(r2Key);
    if (all || r2r3)
        inputs.disableField(r3Key);
}

QList<QPair<QString, QString>> releaseLinks(const StudyInputs& inputs)
{
    if (inputs.switches.value(linkAllReleases, false))
        return {{r2Key, v1Key}, {r3Key, v1Key}};
    if (inputs.switches.value(linkReleases, false))
        return {{r3Key, r2Key}};
    return {};
}

StudyInputs blankInputs()
{
    StudyInputs inputs;
    for (const FieldSpec& row : fieldTable())
        inputs.addField(row.blank());
    inputs.switches = {{linkReleases, false}, {linkAllReleases, false}};
    applySwitches(inputs);
    return inputs;
}

} // namespace VWPInputs
