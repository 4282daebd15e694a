#include "forms/dialogs/RunModeDialogImpl.h"

#include "TestStore.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using quorvel::test::TestStore;

namespace {

const QStringList singleNames = {"S1", "S2", "S3", "P1", "P2", "P3", "Final"};
const QStringList pairedNames = {"Sc", "St", "P1", "Final"};

QString stored(TestStore& store, int id)
{
    return store->value(id).toString();
}

} // namespace

TEST(RunModeDialog, EachDesignShowsAndStoresItsOwnOptions)
{
    TestStore store;
    store->setValue(QVSettingsKeys::SrReplicatesEnabled, true);
    store->setValue(QVSettingsKeys::SrReplicatesNum, 3);
    store->setValue(QVSettingsKeys::SrReplicateNatVar, "0.01");
    store->setValue(QVSettingsKeys::PrReplicateNatVar, "0.5");

    RunModeDialogImpl dialog(store.get());
    EXPECT_TRUE(dialog.enableReplicatesCheckBox->isChecked());
    EXPECT_TRUE(dialog.replicatesGroupBox->isEnabled());
    EXPECT_TRUE(dialog.groupBox->isEnabled());
    EXPECT_EQ(dialog.numRunsSpin->value(), 3);
    EXPECT_EQ(dialog.varQEdit->text(), "0.01");
    EXPECT_TRUE(dialog.totalSurvivalCheckBox->isVisibleTo(&dialog));

    dialog.setStudyType(2);
    EXPECT_FALSE(dialog.enableReplicatesCheckBox->isChecked());
    EXPECT_FALSE(dialog.replicatesGroupBox->isEnabled());
    EXPECT_FALSE(dialog.groupBox->isEnabled());
    EXPECT_EQ(dialog.numRunsSpin->value(), 1);
    EXPECT_EQ(dialog.varQEdit->text(), "0.5");
    EXPECT_FALSE(dialog.totalSurvivalCheckBox->isVisibleTo(&dialog));

    // The dialog's own connections survive the move.
    dialog.enableReplicatesCheckBox->click();
    EXPECT_TRUE(dialog.replicatesGroupBox->isEnabled());
    dialog.numRunsSpin->stepUp();
    EXPECT_TRUE(dialog.varQEdit->isEnabled());
    EXPECT_TRUE(store->value(QVSettingsKeys::PrReplicatesEnabled).toBool());
    EXPECT_EQ(store->value(QVSettingsKeys::PrReplicatesNum).toInt(), 2);
    EXPECT_EQ(store->value(QVSettingsKeys::SrReplicatesNum).toInt(), 3);

    // The paired release has no total survival: the hidden box stores nothing.
    dialog.totalSurvivalCheckBox->setChecked(true);
    EXPECT_FALSE(store->value(QVSettingsKeys::TotalSurvVar).toBool());
    dialog.setStudyType(1);
    EXPECT_FALSE(dialog.totalSurvivalCheckBox->isChecked());
    dialog.totalSurvivalCheckBox->click();
    EXPECT_TRUE(store->value(QVSettingsKeys::TotalSurvVar).toBool());
}

TEST(RunModeDialog, NaturalVariabilityIsOfferedFromTwoReplicates)
{
    TestStore store;
    RunModeDialogImpl dialog(store.get());
    dialog.enableReplicatesCheckBox->click();
    QSignalSpy spy(&dialog, &RunModeDialogImpl::multipleModeToggled);

    dialog.setStudyType(1);
    EXPECT_EQ(dialog.numRunsSpin->value(), 1);
    EXPECT_FALSE(dialog.varQEdit->isEnabled());
    EXPECT_FALSE(dialog.multiParCombo->isEnabled());
    ASSERT_EQ(spy.size(), 1);
    EXPECT_FALSE(spy.takeFirst().at(0).toBool());

    dialog.numRunsSpin->stepUp();
    EXPECT_TRUE(dialog.varQEdit->isEnabled());
    EXPECT_TRUE(dialog.multiParCombo->isEnabled());
    ASSERT_EQ(spy.size(), 1);
    EXPECT_TRUE(spy.takeFirst().at(0).toBool());
}

TEST(RunModeDialog, TheVarianceNeverHoldsARange)
{
    TestStore store;
    store->setValue(QVSettingsKeys::PrReplicateNatVar, "0.1:0.2");
    RunModeDialogImpl dialog(store.get());
    dialog.enableReplicatesCheckBox->click();
    dialog.numRunsSpin->stepUp();
    dialog.varQEdit->clear();
    QTest::keyClicks(dialog.varQEdit, "0.1:0.2");
    EXPECT_EQ(dialog.varQEdit->text(), "0.10.2");
    EXPECT_EQ(stored(store, QVSettingsKeys::SrReplicateNatVar), "0.10.2");

    // A text stored with a colon keeps its first value, in the store too.
    dialog.setStudyType(2);
    EXPECT_EQ(dialog.varQEdit->text(), "0.1");
    EXPECT_EQ(stored(store, QVSettingsKeys::PrReplicateNatVar), "0.1");
}

TEST(RunModeDialog, OnlyTheUsersChoiceOfParameterIsStoredWhateverTheOrderOfCalls)
{
    TestStore store;
    store->setValue(QVSettingsKeys::SrReplicatesPar, "S2");
    store->setValue(QVSettingsKeys::PrReplicatesPar, "St");
    RunModeDialogImpl dialog(store.get());
    dialog.setParameters(singleNames, QString());
    EXPECT_EQ(dialog.multiParCombo->currentText(), "S2");

    // Moving to the paired release with its names given first, then back with
    // the type first: neither design's choice is touched, each is shown.
    dialog.setParameters(pairedNames, QString());
    dialog.setStudyType(2);
    EXPECT_EQ(dialog.multiParCombo->currentText(), "St");
    dialog.setStudyType(1);
    dialog.setParameters(singleNames, QString());
    EXPECT_EQ(dialog.multiParCombo->currentText(), "S2");
    EXPECT_EQ(stored(store, QVSettingsKeys::SrReplicatesPar), "S2");
    EXPECT_EQ(stored(store, QVSettingsKeys::PrReplicatesPar), "St");

    // A choice no longer offered shows the preferred name, else the first.
    dialog.setParameters({"S1", "P1", "Final"}, "P1");
    EXPECT_EQ(dialog.multiParCombo->currentText(), "P1");
    dialog.setParameters({"S1", "P1", "Final"}, QString());
    EXPECT_EQ(dialog.multiParCombo->currentText(), "S1");
    EXPECT_EQ(stored(store, QVSettingsKeys::SrReplicatesPar), "S2");

    // The user's pick is stored under the current design.
    dialog.enableReplicatesCheckBox->click();
    dialog.numRunsSpin->stepUp();
    QTest::keyClick(dialog.multiParCombo, Qt::Key_Down);
    EXPECT_EQ(stored(store, QVSettingsKeys::SrReplicatesPar), "P1");
    EXPECT_EQ(stored(store, QVSettingsKeys::PrReplicatesPar), "St");
}

TEST(RunModeDialog, AskingForReplicatesMakesTheShownParameterTheChoice)
{
    TestStore store;
    store->setValue(QVSettingsKeys::PrReplicatesNum, 3);
    RunModeDialogImpl dialog(store.get());
    dialog.setParameters(singleNames, QString());
    ASSERT_TRUE(stored(store, QVSettingsKeys::SrReplicatesPar).isEmpty());

    // A stored count met on the way stores nothing.
    dialog.setStudyType(2);
    dialog.setParameters(pairedNames, QString());
    EXPECT_TRUE(stored(store, QVSettingsKeys::PrReplicatesPar).isEmpty());

    dialog.setStudyType(1);
    dialog.setParameters(singleNames, QString());
    dialog.numRunsSpin->stepUp();
    EXPECT_EQ(stored(store, QVSettingsKeys::SrReplicatesPar), "S1");
    EXPECT_TRUE(stored(store, QVSettingsKeys::PrReplicatesPar).isEmpty());
}
