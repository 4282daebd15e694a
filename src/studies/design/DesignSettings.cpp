#include "studies/design/DesignSettings.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "framework/settings/QVSettingsKeys.h"

#include <algorithm>

namespace DesignSettings {

namespace {

// A switch bound to a check box or radio button, stored as a bool; inverted
// when the switch is on while the stored button is off.
struct StoredSwitch
{
    Design::Kind kind;
    QString name;
    int id;
    bool inverted;
};

// The balloon-tag form's two radio buttons are bound one after the other, so
// a stored "btps_use_t" wins over "btps_use_st", and with neither St is
// chosen: St is given exactly when "btps_use_t" is off.
const QList<StoredSwitch>& storedSwitches()
{
    static const QList<StoredSwitch> table = {
        {Design::PairedRelease, PairedReleaseInputs::linkReleases, QVSettingsKeys::PrLinkReleases,
         false},
        {Design::TIRR, TIRRInputs::linkReleases, QVSettingsKeys::TirrLinkReleases, false},
        {Design::BTPS, BTPSInputs::linkReleases, QVSettingsKeys::BtpsLinkReleases, false},
        {Design::BTPS, BTPSInputs::useSt, QVSettingsKeys::BtpsUseT, true},
        {Design::VWP, VWPInputs::linkReleases, QVSettingsKeys::VwpLinkReleases, false},
        {Design::VWP, VWPInputs::linkAllReleases, QVSettingsKeys::VwpLinkAllReleases, false},
    };
    return table;
}

const ReleaseDesignKeys* releaseKeys(Design::Kind kind)
{
    switch (kind) {
    case Design::SingleRelease:
        return ReleaseDesignKeys::of(ReleaseDesignKeys::SingleRelease);
    case Design::PairedRelease:
        return ReleaseDesignKeys::of(ReleaseDesignKeys::PairedRelease);
    default:
        return nullptr;
    }
}

// A combo bound to a stored choice shows it when it is one of its k + 1
// entries; the form stores the reach's own parameter, k, for any other.
int storedChoice(const QVariant& stored, int k)
{
    bool isIndex = false;
    const int choice = stored.toInt(&isIndex);
    return isIndex && choice >= 0 && choice <= k ? choice : k;
}

} // namespace

Design stored(Design::Kind kind, const StoredValue& value)
{
    const DesignInfo& info = designs::info(kind);
    int reaches = 0;
    if (const ReleaseDesignKeys* keys = releaseKeys(kind))
        reaches = std::clamp(value(keys->numReaches, -1).toInt(), keys->minReaches,
                             ReleaseRecaptureInputs::maximumReaches);

    Design design;
    design.kind = kind;
    StudyInputs& inputs = design.inputs;
    inputs = info.blankInputs(reaches);
    QString holder;
    for (const FieldSpec& row : info.fieldTable(reaches)) {
        QString text = value(row.settingsId, row.settingsIndex).toString();
        if (text.contains(QLatin1Char(':'))) {
            if (holder.isNull())
                holder = row.key;
            else
                text.clear();
        }
        inputs.field(row.key).text = text;
    }
    inputs.setRangeHolder(holder);

    for (const auto& [choice, id] :
         {qMakePair(ReleaseRecaptureInputs::survivalOwner, info.survivalChoiceId),
          qMakePair(ReleaseRecaptureInputs::captureOwner, info.captureChoiceId)}) {
        if (!inputs.choices.contains(choice))
            continue;
        QVector<int>& choices = inputs.choices[choice];
        for (int k = 0; k < choices.size(); ++k)
            choices[k] = storedChoice(value(id, k), k);
    }
    for (const StoredSwitch& stored : storedSwitches()) {
        if (stored.kind == kind)
            inputs.switches[stored.name] = value(stored.id, -1).toBool() != stored.inverted;
    }
    info.applySwitches(inputs);
    design.options = storedOptions(kind, value);
    return design;
}

DesignOptions storedOptions(Design::Kind kind, const StoredValue& value)
{
    DesignOptions options;
    if (const ReleaseDesignKeys* keys = releaseKeys(kind)) {
        options.replicatesEnabled = value(keys->replicatesEnabled, -1).toBool();
        options.replicateCount = value(keys->replicatesNum, -1).toInt();
        options.naturalVariance = value(keys->naturalVariance, -1).toString();
        options.replicateParameter = value(keys->replicateParameter, -1).toString();
        options.totalSurvival = value(QVSettingsKeys::TotalSurvVar, -1).toBool();
    }
    options.precisionEst = value(QVSettingsKeys::PrecisionEst, -1).toInt();
    options.precisionErr = value(QVSettingsKeys::PrecisionErr, -1).toInt();
    return options;
}

QList<QPair<int, QVariant>> optionSettings(Design::Kind kind, const DesignOptions& options)
{
    QList<QPair<int, QVariant>> settings;
    if (const ReleaseDesignKeys* keys = releaseKeys(kind))
        settings << qMakePair(keys->replicatesEnabled, QVariant(options.replicatesEnabled))
                 << qMakePair(keys->replicatesNum, QVariant(options.replicateCount))
                 << qMakePair(keys->naturalVariance, QVariant(options.naturalVariance))
                 << qMakePair(keys->replicateParameter, QVariant(options.replicateParameter));
    if (kind == Design::SingleRelease)
        settings << qMakePair(int(QVSettingsKeys::TotalSurvVar), QVariant(options.totalSurvival));
    settings << qMakePair(int(QVSettingsKeys::PrecisionEst), QVariant(options.precisionEst))
             << qMakePair(int(QVSettingsKeys::PrecisionErr), QVariant(options.precisionErr));
    return settings;
}

} // namespace DesignSettings
