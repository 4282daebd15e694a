#include "forms/tirr/TIRRWidgetImpl.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"
#include "range/FieldActions.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

using quorvel::test::closeOpenMessageBoxes;
using quorvel::test::ModalBoxAnswerer;
using quorvel::test::TestStore;

TEST(TIRRForm, ScTimesPShowsTheProductUntilARangeIsSetOrAValueCannotBeRead)
{
    TestStore store;
    TIRRWidgetImpl form(store.get());
    QTest::keyClicks(form.s1Edit, "0.8");
    QTest::keyClicks(form.pEdit, "0.5");
    EXPECT_EQ(form.thetaEdit->text(), "0.4000");
    EXPECT_EQ(store->value(QVSettingsKeys::TirrTheta).toString(), "0.4000");

    form.s1Edit->setText("20000000000");
    EXPECT_EQ(form.thetaEdit->text(), "0.4000");

    form.s1Edit->setText("0.8");
    QTest::keyClicks(form.tauEdit, "0.5:1");
    QTest::keyClicks(form.pEdit, "5");
    EXPECT_EQ(form.thetaEdit->text(), "0.4000");
}

TEST(TIRRForm, ChoosingScTimesPReleasesARangeInScAndTheFormReopensWithScAndP)
{
    TestStore store;
    store->setValue(QVSettingsKeys::TirrRc, "500");
    store->setValue(QVSettingsKeys::TirrRt, "500");
    store->setValue(QVSettingsKeys::TirrSc, "0.5:0.9");
    store->setValue(QVSettingsKeys::TirrP, "0.5");
    store->setValue(QVSettingsKeys::TirrT, "2.5");
    {
        TIRRWidgetImpl form(store.get());
        EXPECT_EQ(form.rangeSpec()->ownerName(), "Sc");
        form.thetaRadio->click();
        EXPECT_EQ(closeOpenMessageBoxes(),
                  QStringList{"Disabling \"Sc\" range. Re-setting to 0.5."});
        EXPECT_EQ(form.s1Edit->text(), "0.5");
        EXPECT_TRUE(form.rangeSpec()->ownerName().isNull());
        EXPECT_FALSE(form.s1Edit->isEnabled());
        EXPECT_TRUE(form.thetaEdit->isEnabled());
        EXPECT_EQ(form.thetaEdit->text(), "0.2500");

        // θ·T = 0.625 passes; at T = 5 it exceeds 1.
        ModalBoxAnswerer answerer;
        EXPECT_TRUE(form.validate());
        form.tauEdit->setText("5");
        EXPECT_FALSE(form.validate());
        EXPECT_EQ(answerer.seen,
                  QStringList{"Transport In-River Ratio|T must keep the treatment's return "
                              "Sc*P*T at most 1|critical"});
        EXPECT_EQ(form.focusWidget(), form.tauEdit);
        EXPECT_EQ(form.tauEdit->selectedText(), "5");
    }
    TIRRWidgetImpl reopened(store.get());
    EXPECT_TRUE(reopened.s1pRadio->isChecked());
    EXPECT_FALSE(reopened.thetaEdit->isEnabled());
}

TEST(TIRRForm, EveryInputExplainsItself)
{
    TestStore store;
    TIRRWidgetImpl form(store.get());
    for (QWidget* input : form.findChildren<QWidget*>()) {
        if (!qobject_cast<RangeLineEdit*>(input) && !qobject_cast<QAbstractButton*>(input))
            continue;
        EXPECT_FALSE(input->toolTip().isEmpty()) << input->objectName().toStdString();
        EXPECT_FALSE(input->whatsThis().isEmpty()) << input->objectName().toStdString();
    }
}
