#include "forms/vwp/VWPWidget.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"

#include <gtest/gtest.h>

#include <QTest>

using quorvel::test::ModalBoxAnswerer;
using quorvel::test::TestStore;

TEST(VWPForm, NineFieldsSitOnTheSchematicWithTheirHelpTexts)
{
    TestStore store;
    VWPWidget form(store.get());
    const QList<RangeLineEdit*> fields = form.widget()->findChildren<RangeLineEdit*>();
    ASSERT_EQ(fields.size(), 9);
    for (RangeLineEdit* field : fields) {
        EXPECT_TRUE(form.label->geometry().contains(field->geometry()))
            << field->objectName().toStdString();
        EXPECT_FALSE(field->toolTip().isEmpty()) << field->objectName().toStdString();
        EXPECT_TRUE(field->whatsThis().startsWith("<p>" + field->toolTip().toHtmlEscaped()));
    }
    EXPECT_EQ(form.p2Edit->toolTip(), "Detection probability at site 2: the chance that a fish "
                                      "alive at the site is detected there");
    EXPECT_FALSE(form.linkAllReleasesCheckBox->toolTip().isEmpty());
    EXPECT_FALSE(form.label->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_GE(form.sizeHint().width(), 600);
    EXPECT_GE(form.sizeHint().height(), 600);
}

TEST(VWPForm, LinkedReleasesFollowTheirLeaderAndLinkingAllTurnsTheOtherLinkOff)
{
    TestStore store;
    store->setValue(QVSettingsKeys::VwpV1, "2000");
    store->setValue(QVSettingsKeys::VwpR2, "1000");
    store->setValue(QVSettingsKeys::VwpR3, "500");
    store->setValue(QVSettingsKeys::VwpLinkReleases, true);
    VWPWidget form(store.get());
    EXPECT_FALSE(form.r3Edit->isEnabled());
    EXPECT_EQ(form.r3Edit->text(), "1000");
    EXPECT_EQ(form.r2Edit->name(), "R2-R3");
    QTest::keyClick(form.r2Edit, Qt::Key_5);
    EXPECT_EQ(form.r3Edit->text(), "10005");

    form.linkAllReleasesCheckBox->setChecked(true);
    EXPECT_FALSE(form.linkReleasesCheckBox->isChecked());
    EXPECT_FALSE(form.linkReleasesCheckBox->isEnabled());
    EXPECT_TRUE(store->value(QVSettingsKeys::VwpLinkReleases).toBool());
    EXPECT_EQ(form.v1Edit->name(), "V1-R2-R3");
    EXPECT_EQ(form.r2Edit->name(), "R2");
    EXPECT_EQ(form.r2Edit->text(), "2000");
    EXPECT_EQ(store->value(QVSettingsKeys::VwpR3).toString(), "2000");
    QTest::keyClicks(form.v1Edit, ":3000");
    EXPECT_EQ(form.r3Edit->text(), "2000:3000");
    EXPECT_EQ(form.rangeSpec()->ownerName(), "V1-R2-R3");

    form.linkAllReleasesCheckBox->setChecked(false);
    EXPECT_TRUE(form.r2Edit->isEnabled());
    EXPECT_TRUE(form.r3Edit->isEnabled());
    EXPECT_EQ(form.r3Edit->text(), "2000");
    EXPECT_EQ(store->value(QVSettingsKeys::VwpR2).toString(), "2000");

    ModalBoxAnswerer answerer;
    form.sDamEdit->setText("2");
    EXPECT_FALSE(form.validate());
    EXPECT_EQ(answerer.seen,
              QStringList{"Virtual with a Paired Release|SDam must lie in (0, 1]|critical"});
    EXPECT_EQ(form.focusWidget(), form.sDamEdit);
    EXPECT_EQ(form.sDamEdit->selectedText(), "2");
}
