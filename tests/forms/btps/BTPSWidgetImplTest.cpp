#include "forms/btps/BTPSWidgetImpl.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

using quorvel::test::ModalBoxAnswerer;
using quorvel::test::TestStore;

namespace {

void storeValidInputs(TestStore& store)
{
    store->setValue(QVSettingsKeys::BtpsRc, "1000");
    store->setValue(QVSettingsKeys::BtpsRt, "1000");
    store->setValue(QVSettingsKeys::BtpsSc, "0.8");
    store->setValue(QVSettingsKeys::BtpsSt, "0.72");
    store->setValue(QVSettingsKeys::BtpsT, "0.9");
    store->setValue(QVSettingsKeys::BtpsPa, "0.5");
    store->setValue(QVSettingsKeys::BtpsPd, "0.3");
}

} // namespace

TEST(BTPSForm, TheChosenModeEnablesItsFieldAndTheChecksFollowIt)
{
    TestStore store;
    storeValidInputs(store);
    BTPSWidgetImpl form(store.get());
    ModalBoxAnswerer answerer;
    EXPECT_TRUE(form.stEdit->isEnabled());
    EXPECT_FALSE(form.tEdit->isEnabled());
    EXPECT_TRUE(form.validate());

    form.sctRadio->click();
    EXPECT_FALSE(form.stEdit->isEnabled());
    EXPECT_TRUE(form.tEdit->isEnabled());
    EXPECT_TRUE(store->value(QVSettingsKeys::BtpsUseT).toBool());
    EXPECT_FALSE(store->value(QVSettingsKeys::BtpsUseSt).toBool());

    form.stEdit->setText("5");
    EXPECT_TRUE(form.validate());
    form.scEdit->setText("0");
    EXPECT_FALSE(form.validate());
    EXPECT_EQ(answerer.seen, QStringList{"Balloon-Tag Passage Survival Estimate|"
                                         "Sc must lie in (0, 1]|critical"});
    EXPECT_EQ(form.focusWidget(), form.scEdit);
    EXPECT_EQ(form.scEdit->selectedText(), "0");

    // The stored mode comes back with its field enabled.
    BTPSWidgetImpl reopened(store.get());
    EXPECT_TRUE(reopened.sctRadio->isChecked());
    EXPECT_TRUE(reopened.tEdit->isEnabled());
    EXPECT_FALSE(reopened.stEdit->isEnabled());
}

TEST(BTPSForm, LinkedReleaseSizesFollowRcUnderOneName)
{
    TestStore store;
    storeValidInputs(store);
    store->setValue(QVSettingsKeys::BtpsRc, "100:1000");
    store->setValue(QVSettingsKeys::BtpsRt, "50");
    store->setValue(QVSettingsKeys::BtpsLinkReleases, true);
    BTPSWidgetImpl form(store.get());

    EXPECT_FALSE(form.rtEdit->isEnabled());
    EXPECT_EQ(form.rtEdit->text(), "100:1000");
    EXPECT_EQ(form.rangeSpec()->ownerName(), "Rc-Rt");
    QTest::keyClick(form.rcEdit, Qt::Key_0);
    EXPECT_EQ(form.rtEdit->text(), "100:10000");

    form.linkCheckBox->setChecked(false);
    EXPECT_TRUE(form.rtEdit->isEnabled());
    EXPECT_EQ(form.rtEdit->text(), "100");
    EXPECT_EQ(store->value(QVSettingsKeys::BtpsRt).toString(), "100");
    EXPECT_EQ(form.rangeSpec()->ownerName(), "Rc");
    EXPECT_FALSE(form.inputs().switches.value("linkReleases"));

    // A first value that cannot be read leaves Rt as it was on unlinking.
    form.linkCheckBox->setChecked(true);
    form.rcEdit->setText("3000000000:3000000100");
    form.linkCheckBox->setChecked(false);
    EXPECT_EQ(form.rtEdit->text(), "3000000000:3000000100");
}

TEST(BTPSForm, EveryInputExplainsItself)
{
    TestStore store;
    BTPSWidgetImpl form(store.get());
    for (QWidget* input : form.findChildren<QWidget*>()) {
        if (!qobject_cast<RangeLineEdit*>(input) && !qobject_cast<QAbstractButton*>(input))
            continue;
        EXPECT_FALSE(input->toolTip().isEmpty()) << input->objectName().toStdString();
        EXPECT_FALSE(input->whatsThis().isEmpty()) << input->objectName().toStdString();
    }
    EXPECT_EQ(form.paEdit->toolTip(),
              "Pa: the chance that a fish alive after the passage is recaptured");
}
