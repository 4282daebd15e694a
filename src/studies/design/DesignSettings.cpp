#include "studies/design/DesignSettings.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "framework/settings/QVSettingsKeys.h"

#include <algorithm>
#include <limits>

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
    options.effect = storedEffect(kind, value);
    return options;
}

// The texts are read as the Effect panel shows them; one that cannot be read
// is kept as the test's refusal, so that the run says so instead of showing
// the power of another test.
EffectTest storedEffect(Design::Kind kind, const StoredValue& value)
{
    const int type = designs::info(kind).studyType;
    EffectTest test;
    const QString nullText = value(QVSettingsKeys::EffectNullValues, type).toString();
    const QString refusal = test.readNullValues(nullText);
    if (!refusal.isNull())
        test.unreadable = refusal;
    const QString alphaText = value(QVSettingsKeys::EffectAlpha, type).toString().trimmed();
    bool number = false;
    test.alpha = alphaText.toDouble(&number);
    if (!number)
        test.alpha = std::numeric_limits<double>::quiet_NaN();
    if (test.unreadable.isEmpty() && !test.error().isNull())
        test.unreadable =
            QStringLiteral("The level alpha must be a number between 0 and 1 (both left out): "
                           "\"%1\" was given")
                .arg(alphaText);
    test.twoSided = value(QVSettingsKeys::EffectSided, type).toInt() == 0;
    return test;
}

QList<OptionSetting> optionSettings(Design::Kind kind, const DesignOptions& options)
{
    QList<OptionSetting> settings;
    if (const ReleaseDesignKeys* keys = releaseKeys(kind))
        settings << OptionSetting{keys->replicatesEnabled, -1, options.replicatesEnabled}
                 << OptionSetting{keys->replicatesNum, -1, options.replicateCount}
                 << OptionSetting{keys->naturalVariance, -1, options.naturalVariance}
                 << OptionSetting{keys->replicateParameter, -1, options.replicateParameter};
    if (kind == Design::SingleRelease)
        settings << OptionSetting{QVSettingsKeys::TotalSurvVar, -1, options.totalSurvival};
    settings << OptionSetting{QVSettingsKeys::PrecisionEst, -1, options.precisionEst}
             << OptionSetting{QVSettingsKeys::PrecisionErr, -1, options.precisionErr};
    const int type = designs::info(kind).studyType;
    const EffectTest& test = options.effect;
    settings << OptionSetting{QVSettingsKeys::EffectNullValues, type, test.nullValuesText()}
             << OptionSetting{QVSettingsKeys::EffectAlpha, type,
                              QString::number(test.alpha, 'g', 10)}
             << OptionSetting{QVSettingsKeys::EffectSided, type, test.twoSided ? 0 : 1};
    return settings;
}

} // namespace DesignSettings
