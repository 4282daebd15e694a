#include "studies/design/DesignSettings.h"

#include "forms/core/ReleaseRecaptureInputs.h"
#include "framework/settings/QVSettingsKeys.h"

#include <gtest/gtest.h>

#include <QMap>

namespace {

using Key = QVSettingsKeys;

// A store of settings: id, or id and entry, to the value stored; anything
// else reads as the key table's default.
struct Store
{
    QMap<QPair<int, int>, QVariant> values;

    QVariant operator()(int id, int index) const
    {
        if (values.contains({id, index}))
            return values.value({id, index});
        for (const Key::Entry& entry : Key::entries())
            if (entry.id == id)
                return entry.defaultValue;
        return {};
    }
    void set(int id, const QVariant& value, int index = -1) { values[{id, index}] = value; }
};

} // namespace

TEST(DesignSettings, ReadsTheDesignAsTheFormBindsItsWidgets)
{
    Store store;
    store.set(Key::BtpsRc, "100:1000");
    store.set(Key::BtpsSt, "0.5:0.9");
    store.set(Key::BtpsT, "0.9");
    // Both radio buttons stored on: T's, bound last, wins.
    store.set(Key::BtpsUseSt, true);
    store.set(Key::BtpsUseT, true);
    const Design btps = DesignSettings::stored(Design::BTPS, store);
    EXPECT_FALSE(btps.inputs.switches.value("useSt"));
    EXPECT_EQ(btps.inputs.rangeHolder(), "Rc");
    // A second range is emptied, as the form empties a range it cannot take.
    EXPECT_EQ(btps.inputs.field("St").text, "");
    EXPECT_EQ(btps.inputs.field("T").text, "0.9");

    // The reach count raised to the design's least; a choice that is no
    // entry of its combo is the reach's own parameter.
    store.set(Key::PrSi, "1", 1);
    store.set(Key::PrSi, 2, 0);
    store.set(Key::PrPi, "x", 1);
    store.set(Key::PrNumReaches, 3);
    store.set(Key::PrLinkReleases, true);
    store.set(Key::PrRt, "500:1000");
    const Design paired = DesignSettings::stored(Design::PairedRelease, store);
    EXPECT_EQ(paired.inputs.reaches, 3);
    EXPECT_EQ(paired.inputs.choices.value(ReleaseRecaptureInputs::survivalOwner),
              (QVector<int>{0, 1}));
    EXPECT_EQ(paired.inputs.choices.value(ReleaseRecaptureInputs::captureOwner),
              (QVector<int>{0, 1}));
    EXPECT_EQ(paired.inputs.rangeName(), "Rt-Rc");
    store.set(Key::SrNumReaches, "abc");
    EXPECT_EQ(DesignSettings::stored(Design::SingleRelease, store).inputs.reaches, 2);
    store.set(Key::SrNumReaches, 250);
    EXPECT_EQ(DesignSettings::stored(Design::SingleRelease, store).inputs.reaches, 99);
}

TEST(DesignSettings, OptionsStoredForADesignReadBackAsTheyWere)
{
    DesignOptions options;
    options.replicatesEnabled = true;
    options.replicateCount = 4;
    options.naturalVariance = "0.001";
    options.replicateParameter = "S2";
    options.totalSurvival = true;
    options.precisionEst = 5;
    options.precisionErr = 6;
    options.effect.nullValues = {{"S1", 0.8}, {"St", 1.05}};
    options.effect.commonNull = 0.9;
    options.effect.alpha = 0.1;
    options.effect.twoSided = false;
    Store store;
    for (const auto& option : DesignSettings::optionSettings(Design::SingleRelease, options))
        store.set(option.id, option.value, option.index);
    const DesignOptions back = DesignSettings::storedOptions(Design::SingleRelease, store);
    EXPECT_TRUE(back.replicatesEnabled);
    EXPECT_EQ(back.replicateCount, 4);
    EXPECT_EQ(back.naturalVariance, "0.001");
    EXPECT_EQ(back.replicateParameter, "S2");
    EXPECT_TRUE(back.totalSurvival);
    EXPECT_EQ(back.precisionEst, 5);
    EXPECT_EQ(back.precisionErr, 6);
    EXPECT_EQ(back.effect, options.effect);
    // The paired release keeps its own replicate options and its own test.
    const DesignOptions paired = DesignSettings::storedOptions(Design::PairedRelease, store);
    EXPECT_FALSE(paired.replicatesEnabled);
    EXPECT_TRUE(paired.effect.isDefault());
}

// A text typed in the window that cannot be read is kept as the test's
// refusal, never replaced by the defaults behind the user's back.
TEST(DesignSettings, EffectTextsThatCannotBeReadRefuseTheTest)
{
    const int paired = 2;
    Store store;
    store.set(Key::EffectNullValues, "St=1.1; S1 = 0,9", paired);
    EffectTest test = DesignSettings::storedEffect(Design::PairedRelease, store);
    EXPECT_TRUE(test.error().contains("\"S1 = 0,9\""));
    store.set(Key::EffectNullValues, "St=abc", paired);
    EXPECT_TRUE(DesignSettings::storedEffect(Design::PairedRelease, store)
                    .error()
                    .contains("Cannot read the null value \"St=abc\""));
    // Cells pasted from a spreadsheet row or column are entries too.
    store.set(Key::EffectNullValues, "S1=0.8\tS2=0.7\nSt=1.2", paired);
    test = DesignSettings::storedEffect(Design::PairedRelease, store);
    EXPECT_TRUE(test.error().isNull()) << test.error().toStdString();
    EXPECT_EQ(test.nullValues, (QMap<QString, double>{{"S1", 0.8}, {"S2", 0.7}, {"St", 1.2}}));
    store.set(Key::EffectNullValues, " St = 1.1 ; ", paired);
    store.set(Key::EffectAlpha, "", paired);
    EXPECT_TRUE(
        DesignSettings::storedEffect(Design::PairedRelease, store).error().contains("level alpha"));
    store.set(Key::EffectAlpha, "1", paired);
    EXPECT_FALSE(DesignSettings::storedEffect(Design::PairedRelease, store).error().isNull());
    store.set(Key::EffectAlpha, "0.2", paired);
    test = DesignSettings::storedEffect(Design::PairedRelease, store);
    EXPECT_TRUE(test.error().isNull());
    EXPECT_EQ(test.nullValueOf("St"), 1.1);
    EXPECT_EQ(test.alpha, 0.2);
}
