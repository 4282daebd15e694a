#include "app/QVSettings.h"

#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QSettings>
#include <QTest>

namespace {

QString q(const char* text)
{
    return QString::fromLatin1(text);
}

class ProgramSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { QSettings().clear(); }
};

} // namespace

TEST_F(ProgramSettingsTest, DefaultsOnAnEmptyStore)
{
    QVSettings* settings = QVSettings::instance();
    EXPECT_EQ(QVSettings::instance(), settings);
    EXPECT_EQ(settings->value(24), QVariant(q("Quorvel")));
    EXPECT_EQ(settings->value(18), QVariant(600));
    EXPECT_EQ(settings->value(19), QVariant(400));
    EXPECT_EQ(settings->value(47), QVariant(2));
    EXPECT_EQ(settings->value(9), QVariant(true));
    EXPECT_FALSE(settings->value(2).isValid());
    EXPECT_FALSE(settings->value(86).isValid());
    settings->setValue(86, 1);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

TEST_F(ProgramSettingsTest, KeysKeepTheSpellingStoredValuesDependOn)
{
    QVSettings settings;
    QSet<QString> keys;
    for (int id = 0; id <= 86; ++id)
        keys.insert(settings.key(id));
    EXPECT_EQ(keys.size(), 86); // 85 distinct keys and the empty one of 0 and 86
    EXPECT_EQ(settings.key(QVSettings::PrReplicatesEnabled), q("pr_replicates_enbaled"));
    EXPECT_EQ(settings.key(55), q("sr_replcates_par"));
    EXPECT_EQ(settings.key(15), q("geom_vwpr"));

    // Declared int, but the variance field stores its text there.
    settings.setValue(QVSettings::SrReplicateNatVar, q("0.001"));
    EXPECT_EQ(QSettings().value(q("sr_replicate_nat_var")), QVariant(q("0.001")));
    EXPECT_EQ(settings.value(53), QVariant(q("0.001")));
}

TEST_F(ProgramSettingsTest, StoredRangeIsHandedToTheRangeField)
{
    QSettings().setValue(q("sr_s/0"), q("0.9:0.95"));
    QSettings().setValue(q("sr_s/2"), q("0.8:0.85"));
    QVSettings settings;
    QWidget form;
    RangeSpec spec;
    auto* first = new RangeLineEdit(&form, "S1");
    auto* second = new RangeLineEdit(&form, "S2");
    spec.addEdit(first);
    spec.addEdit(second);

    // Bound before to another element, which must not receive the range.
    settings.bindArrayWidget(first, QVSettings::SrS, 1, true);
    settings.bindArrayWidget(first, QVSettings::SrS, 0, true);
    EXPECT_TRUE(first->holdsRange());
    EXPECT_EQ(spec.end(), 0.95);
    EXPECT_FALSE(QSettings().value(q("sr_s/1")).isValid());

    settings.bindArrayWidget(second, QVSettings::SrS, 2, true);
    EXPECT_EQ(second->text(), QString());
    EXPECT_EQ(spec.ownerName(), q("S1"));

    QTest::keyClick(first, Qt::Key_9);
    EXPECT_EQ(QSettings().value(q("sr_s/0")), QVariant(q("0.9:0.959")));
    EXPECT_EQ(spec.end(), 0.959);
}

// Each setting reads only values within its range, its bounds included; a
// value beyond them reads as the default and is listed, until reset.
TEST_F(ProgramSettingsTest, StoredValuesOutsideTheirRangesReadAsTheDefault)
{
    QVSettings settings;
    QSettings stored;
    const struct
    {
        int id;
        QVariant value;
        QVariant read;
    } cases[] = {
        {QVSettings::PrecisionEst, q("17"), q("17")},
        {QVSettings::PrecisionErr, q("18"), 8},
        {QVSettings::SrNumReaches, q("99"), q("99")},
        {QVSettings::PrNumReaches, q("0"), QVariant()},
        {QVSettings::PrReplicatesNum, q("100"), 1},
        {QVSettings::SrReplicateNatVar, q("0"), q("0")},
        {QVSettings::PrReplicateNatVar, q("-0.001"), 0},
        {QVSettings::BtpsUseSt, q("false"), q("false")},
        {QVSettings::PlotPanning, q("yes"), false},
        {QVSettings::PlotOutWidth, q("8192"), q("8192")},
        {QVSettings::PlotOutHeight, q("0"), 400},
        {QVSettings::StudyWinOpenState, q("32"), 0},
        {QVSettings::BtpsRc, q("2147483647"), q("2147483647")},
    };
    QStringList refused = {q("sr_si/4")};
    for (const auto& c : cases) {
        stored.setValue(settings.key(c.id), c.value);
        if (c.read != c.value)
            refused << settings.key(c.id);
    }
    stored.setValue(q("sr_si/3"), q("98"));
    stored.setValue(q("sr_si/4"), q("-1"));

    for (const auto& c : cases)
        EXPECT_EQ(settings.value(c.id), c.read) << settings.key(c.id).toStdString();
    EXPECT_EQ(settings.arrayValue(QVSettings::SrSi, 3), QVariant(q("98")));
    EXPECT_FALSE(settings.arrayValue(QVSettings::SrSi, 4).isValid());
    refused.sort();
    QStringList listed = settings.refusedValues();
    listed.sort();
    EXPECT_EQ(listed, refused);
    EXPECT_EQ(settings.resetRefusedValues().size(), refused.size());
    EXPECT_TRUE(settings.refusedValues().isEmpty());
    EXPECT_EQ(stored.value(q("precision_err")), QVariant(8));
    EXPECT_FALSE(stored.contains(q("sr_si/4")));
}
