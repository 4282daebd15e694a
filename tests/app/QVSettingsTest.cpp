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
    EXPECT_FALSE(settings->value(83).isValid());
    settings->setValue(83, 1);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

TEST_F(ProgramSettingsTest, KeysKeepTheSpellingStoredValuesDependOn)
{
    QVSettings settings;
    QSet<QString> keys;
    for (int id = 0; id <= 83; ++id)
        keys.insert(settings.key(id));
    EXPECT_EQ(keys.size(), 83); // 82 distinct keys and the empty one of 0 and 83
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
