#include "forms/release_recapture/PairedReleaseWidget.h"
#include "forms/release_recapture/SingleReleaseWidget.h"

#include "ModalBoxAnswerer.h"
#include "TestStore.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"
#include "forms/release_recapture/FinalReachWidgetImpl.h"
#include "forms/release_recapture/ReachWidgetImpl.h"
#include "forms/release_recapture/ReleaseWidgetImpl.h"
#include "forms/release_recapture/TCReachWidgetImpl.h"
#include "forms/release_recapture/TCReleaseWidgetImpl.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUndoStack>

#include <tuple>

using quorvel::test::ModalBoxAnswerer;
using quorvel::test::TestStore;

namespace {

// The single form's reach panel k.
ReachWidgetImpl* reach(const SingleReleaseWidget& form, int k)
{
    return form.findChildren<ReachWidgetImpl*>().at(k);
}

// Stored inputs of a single release that may be computed, up to five reaches.
void storeSingleDesign(TestStore& store)
{
    store->setValue(QVSettingsKeys::SrR0, "1000");
    store->setValue(QVSettingsKeys::SrLambda, "0.6");
    for (int k = 0; k < 4; ++k) {
        store->setArrayValue(QVSettingsKeys::SrS, k, QString::number(0.9 - 0.1 * k));
        store->setArrayValue(QVSettingsKeys::SrP, k, "0.6");
        store->setArrayValue(QVSettingsKeys::SrD, k, "0");
        store->setArrayValue(QVSettingsKeys::SrR, k, "0");
    }
}

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

TEST(SingleReleaseWidget, ReachPanelsAreNamedAndOfferEveryEarlierReach)
{
    TestStore store;
    SingleReleaseWidget form(store.get());
    form.setNumReaches(1);
    EXPECT_EQ(form.reachPanelCount(), 0);
    form.setNumReaches(4);
    ASSERT_EQ(form.reachPanelCount(), 3);
    for (int k = 0; k < 3; ++k) {
        const QString n = QString::number(k + 1);
        ReachWidgetImpl* panel = reach(form, k);
        EXPECT_EQ(panel->reachNumber(), k + 1);
        EXPECT_EQ(panel->survivalEdit->name(), "S" + n);
        EXPECT_EQ(panel->captureEdit->name(), "P" + n);
        EXPECT_EQ(panel->removalEdit->name(), "D" + n);
        EXPECT_EQ(panel->releaseEdit->name(), "R" + n);
        EXPECT_EQ(panel->removalLabel->text(), "D" + n);
        EXPECT_EQ(panel->survivalCombo->currentIndex(), k);
        EXPECT_TRUE(panel->survivalEdit->isEnabled());
    }
    EXPECT_EQ(items(reach(form, 2)->survivalCombo), (QStringList{"S1", "S2", "S3"}));
    EXPECT_EQ(items(reach(form, 1)->captureCombo), (QStringList{"P1", "P2"}));
    EXPECT_EQ(reach(form, 2)->removalEdit->editMax(), 1.0);
    EXPECT_EQ(form.releaseWidget()->releaseEdit->editMin(), 1.0);
    EXPECT_EQ(reach(form, 0)->releaseEdit->editType(), RangeLineEdit::Integer);

    // Panels side by side after the release panel; the final panel closes the
    // strip; every field is in the design's table.
    EXPECT_EQ(reach(form, 1)->x(), 5 + 186 + 420);
    EXPECT_EQ(form.widget()->width(), 5 + 186 + 3 * 420 + 170);
    EXPECT_EQ(form.widget()->height(), 2 * 5 + 265);
    EXPECT_EQ(form.inputs().fields().size(), SingleReleaseInputs::fieldTable(4).size());
}

TEST(SingleReleaseWidget, SharedFieldShowsItsOwnersValueStoresNothingAndIsNotChecked)
{
    TestStore store;
    storeSingleDesign(store);
    SingleReleaseWidget form(store.get());
    form.setNumReaches(4);
    QSignalSpy namesChanged(&form, &ReleaseRecaptureWidget::parameterNamesChanged);

    // Reach 3 uses reach 1's survival.
    reach(form, 2)->survivalCombo->setCurrentIndex(0);
    RangeLineEdit* s3 = reach(form, 2)->survivalEdit;
    EXPECT_FALSE(s3->isEnabled());
    EXPECT_EQ(s3->text(), "0.9");
    EXPECT_EQ(namesChanged.count(), 1);
    QTest::keyClicks(reach(form, 0)->survivalEdit, "5");
    EXPECT_EQ(s3->text(), "0.95");
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrS, 0).toString(), "0.95");
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrS, 2).toString(), "0.7");
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrSi, 2).toInt(), 0);

    // Not checked while shared; the same enabled states as the design's rule.
    s3->QLineEdit::setText("7");
    EXPECT_TRUE(form.validate());
    const StudyInputs taken = form.inputs();
    StudyInputs ruled = taken;
    SingleReleaseInputs::applySwitches(ruled);
    for (const InputField& field : taken.fields())
        EXPECT_EQ(field.enabled, ruled.field(field.key).enabled) << field.key.toStdString();

    // Its own entry again: enabled, showing the reach's own stored value.
    reach(form, 2)->survivalCombo->setCurrentIndex(2);
    EXPECT_TRUE(s3->isEnabled());
    EXPECT_EQ(s3->text(), "0.7");
}

TEST(SingleReleaseWidget, ChainedSharingResolvesToTheOwner)
{
    TestStore store;
    store->setArrayValue(QVSettingsKeys::SrP, 0, "0.6");
    store->setArrayValue(QVSettingsKeys::SrP, 1, "0.5");
    SingleReleaseWidget form(store.get());
    form.setNumReaches(4);
    reach(form, 2)->captureCombo->setCurrentIndex(1);
    reach(form, 1)->captureCombo->setCurrentIndex(0);
    EXPECT_EQ(reach(form, 2)->captureEdit->text(), "0.6");
    QTest::keyClicks(reach(form, 0)->captureEdit, "5");
    EXPECT_EQ(reach(form, 1)->captureEdit->text(), "0.65");
    EXPECT_EQ(reach(form, 2)->captureEdit->text(), "0.65");

    // Reach 2 takes its own again: reach 3, which chose reach 2, follows it.
    reach(form, 1)->captureCombo->setCurrentIndex(1);
    EXPECT_EQ(reach(form, 2)->captureEdit->text(), "0.5");
}

TEST(SingleReleaseWidget, ShrinkingAndGrowingRebindEachReachToItsOwnEntries)
{
    TestStore store;
    SingleReleaseWidget form(store.get());
    form.setNumReaches(4);
    QTest::keyClicks(reach(form, 2)->releaseEdit, "30");
    QTest::keyClicks(reach(form, 1)->releaseEdit, "20");
    // The range is held by a panel that goes away.
    QTest::keyClicks(reach(form, 2)->survivalEdit, "0.5:0.9");
    ASSERT_EQ(form.rangeSpec()->ownerName(), "S3");
    reach(form, 2)->captureCombo->setCurrentIndex(0);

    form.setNumReaches(2);
    EXPECT_EQ(form.reachPanelCount(), 1);
    EXPECT_TRUE(form.rangeSpec()->ownerName().isNull());
    EXPECT_EQ(form.rangeSpec()->edits().size(), 6);
    EXPECT_FALSE(form.inputs().hasField("S3"));

    form.setNumReaches(4);
    EXPECT_EQ(reach(form, 1)->releaseEdit->text(), "20");
    EXPECT_EQ(reach(form, 2)->releaseEdit->text(), "30");
    EXPECT_EQ(reach(form, 2)->survivalEdit->text(), "0.5:0.9");
    EXPECT_EQ(form.rangeSpec()->ownerName(), "S3");
    EXPECT_EQ(reach(form, 2)->captureCombo->currentIndex(), 0);
    EXPECT_FALSE(reach(form, 2)->captureEdit->isEnabled());

    // A stored choice that is no entry of the reach: its own parameter.
    store->setArrayValue(QVSettingsKeys::SrSi, 3, 9);
    form.setNumReaches(5);
    EXPECT_EQ(reach(form, 3)->survivalCombo->currentIndex(), 3);
}

TEST(SingleReleaseWidget, RangeWarningsOfReachFieldsReachTheWindow)
{
    TestStore store;
    SingleReleaseWidget form(store.get());
    form.setNumReaches(3);
    ModalBoxAnswerer answerer;
    // Sharing and taking back rebinds the field; its warnings still arrive.
    reach(form, 1)->survivalCombo->setCurrentIndex(0);
    reach(form, 1)->survivalCombo->setCurrentIndex(1);
    RangeLineEdit* s2 = reach(form, 1)->survivalEdit;
    QTest::keyClicks(s2, "0.5:0.9:");
    QTest::keyClicks(form.releaseWidget()->releaseEdit, "1:");
    EXPECT_EQ(answerer.seen, (QStringList{"Quorvel|Range already set for S2",
                                          "Quorvel|Range already set for S2"}));

    // Sharing the field that holds the range releases it at its start.
    reach(form, 1)->survivalCombo->setCurrentIndex(0);
    EXPECT_TRUE(form.rangeSpec()->ownerName().isNull());
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrS, 1).toString(), "0.5");
}

TEST(SingleReleaseWidget, ValidationRefusesProbabilitiesOutsideTheirDomain)
{
    TestStore store;
    SingleReleaseWidget form(store.get());
    form.setNumReaches(2);
    const QStringList texts = {"1000", "0.8", "0.7", "0.1", "0", "0.6"};
    QList<RangeLineEdit*> fields = {
        form.releaseWidget()->releaseEdit, reach(form, 0)->survivalEdit,
        reach(form, 0)->captureEdit,       reach(form, 0)->removalEdit,
        reach(form, 0)->releaseEdit,       form.finalReachWidget()->productEdit};
    for (int f = 0; f < fields.size(); ++f)
        fields[f]->setText(texts[f]);
    ModalBoxAnswerer answerer;
    EXPECT_TRUE(form.validate());
    reach(form, 0)->captureEdit->setText("1.5");
    EXPECT_FALSE(form.validate());
    form.finalReachWidget()->productEdit->setText("0");
    reach(form, 0)->captureEdit->setText("1");
    EXPECT_FALSE(form.validate());
    EXPECT_EQ(answerer.seen, (QStringList{"Single Release|P1 must lie in (0, 1]|critical",
                                          "Single Release|Lambda must lie in (0, 1]|critical"}));
    EXPECT_EQ(form.focusWidget(), form.finalReachWidget()->productEdit);
}

TEST(PairedReleaseWidget, ChainStartsWithTheReleasePanelAndGrowsFromReachTwo)
{
    TestStore store;
    PairedReleaseWidget form(store.get());
    form.setNumReaches(0);
    form.setNumReaches(1);
    EXPECT_EQ(form.reachPanelCount(), 0);
    EXPECT_EQ(form.widget()->width(), 5 + 515 + 170);
    EXPECT_EQ(form.preferredWidth(), 515 + 170 + 10 + form.verticalScrollBar()->sizeHint().width());

    form.setNumReaches(3);
    // At its preferred height the strip fits above the horizontal scroll bar.
    form.resize(400, form.preferredHeight());
    form.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(form.verticalScrollBar()->isVisible());
    const auto panels = form.findChildren<TCReachWidgetImpl*>();
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels[1]->reachNumber(), 3);
    EXPECT_EQ(panels[1]->removalEdit->name(), "D3");
    EXPECT_EQ(items(panels[1]->survivalCombo), (QStringList{"S2", "S3"}));
    EXPECT_EQ(form.widget()->width(), 5 + 515 + 2 * 245 + 170);
}

TEST(PairedReleaseWidget, LinkedReleasesDisableRcAndFollowRt)
{
    TestStore store;
    store->setValue(QVSettingsKeys::PrRt, "800");
    store->setValue(QVSettingsKeys::PrRc, "500");
    PairedReleaseWidget form(store.get());
    TCReleaseWidgetImpl* release = form.releaseWidget();
    EXPECT_EQ(release->treatmentReleaseEdit->name(), "Rt");

    release->linkReleasesCheckBox->setChecked(true);
    EXPECT_FALSE(release->controlReleaseEdit->isEnabled());
    EXPECT_EQ(release->controlReleaseEdit->text(), "800");
    EXPECT_EQ(release->treatmentReleaseEdit->name(), "Rt-Rc");
    EXPECT_TRUE(store->value(QVSettingsKeys::PrLinkReleases).toBool());
    QTest::keyClicks(release->treatmentReleaseEdit, ":1000");
    EXPECT_EQ(release->controlReleaseEdit->text(), "800:1000");
    EXPECT_EQ(form.rangeSpec()->ownerName(), "Rt-Rc");
    EXPECT_TRUE(form.inputs().switches.value(PairedReleaseInputs::linkReleases));

    // Unlinking gives Rc the range's first value and Rt its own name.
    release->linkReleasesCheckBox->setChecked(false);
    EXPECT_TRUE(release->controlReleaseEdit->isEnabled());
    EXPECT_EQ(release->controlReleaseEdit->text(), "800");
    EXPECT_EQ(release->treatmentReleaseEdit->name(), "Rt");
    EXPECT_EQ(form.rangeSpec()->ownerName(), "Rt");

    // A link stored at the last exit is there again; without one Rc keeps its
    // stored range.
    store->setValue(QVSettingsKeys::PrRt, "800");
    store->setValue(QVSettingsKeys::PrRc, "100:200");
    PairedReleaseWidget again(store.get());
    EXPECT_FALSE(again.releaseWidget()->linkReleasesCheckBox->isChecked());
    EXPECT_EQ(again.rangeSpec()->ownerName(), "Rc");
    store->setValue(QVSettingsKeys::PrLinkReleases, true);
    PairedReleaseWidget linked(store.get());
    EXPECT_EQ(linked.releaseWidget()->treatmentReleaseEdit->name(), "Rt-Rc");
    EXPECT_FALSE(linked.releaseWidget()->controlReleaseEdit->isEnabled());
}

TEST(PairedReleaseWidget, UnlinkingKeepsTheTextsWhenRtCannotBeRead)
{
    TestStore store;
    store->setValue(QVSettingsKeys::PrSt, "0.5:0.9");
    store->setValue(QVSettingsKeys::PrRt, "30000000000");
    PairedReleaseWidget form(store.get());
    TCReleaseWidgetImpl* release = form.releaseWidget();
    release->linkReleasesCheckBox->setChecked(true);
    release->linkReleasesCheckBox->setChecked(false);
    EXPECT_EQ(release->controlReleaseEdit->text(), "30000000000");
}

// Every field of the chain is checked before a run, the last reach panel's
// too; the refused field takes the focus with its text selected.
TEST(PairedReleaseWidget, ValidationNamesTheRefusedFieldAndTakesTheUserThere)
{
    TestStore store;
    PairedReleaseWidget form(store.get());
    form.setNumReaches(3);
    StudyInputs valid = PairedReleaseInputs::blankInputs(3);
    for (const InputField& field : valid.fields())
        valid.field(field.key).text = "0.5";
    valid.field("RT").text = "1000";
    valid.field("RC").text = "1000";
    ASSERT_TRUE(form.loadInputs(valid));
    form.show();
    ModalBoxAnswerer answerer;
    EXPECT_TRUE(form.validate());

    const auto panels = form.findChildren<TCReachWidgetImpl*>();
    ASSERT_EQ(panels.size(), 2);
    TCReleaseWidgetImpl* release = form.releaseWidget();
    const QList<std::tuple<RangeLineEdit*, QString, QString>> cases = {
        {panels[1]->captureEdit, "0", "P3 must lie in (0, 1]"},
        {panels[1]->survivalEdit, "1.5", "S3 must lie in (0, 1]"},
        {panels[1]->removalEdit, "1", "D3 must lie in [0, 1)"},
        {release->treatmentReleaseEdit, "0", "Rt must be a whole number of at least 1"},
        {release->controlReleaseEdit, "", "Rc is empty: it must be a whole number of at least 1"},
        {release->treatmentSurvivalEdit, "0", "St must be above 0"}};
    for (const auto& [edit, text, message] : cases) {
        const QString before = edit->text();
        edit->setText(text);
        EXPECT_FALSE(form.validate());
        EXPECT_EQ(answerer.seen.last(), "Paired Release|" + message + "|critical");
        EXPECT_EQ(form.focusWidget(), edit) << message.toStdString();
        EXPECT_EQ(edit->selectedText(), text);
        edit->setText(before);
    }
    EXPECT_TRUE(form.validate());
}

// A span of reaches filled in one step, shared fields following their owner,
// and one Undo taking the whole fill back.
TEST(SingleReleaseWidget, FillReachesWritesTheSpanAndOneUndoRestoresIt)
{
    TestStore store;
    storeSingleDesign(store);
    SingleReleaseWidget form(store.get());
    form.setNumReaches(5);
    ASSERT_EQ(form.reachPanelCount(), 4);
    reach(form, 3)->captureCombo->setCurrentIndex(0); // P4 shares P1
    const StudyInputs before = form.inputs();

    form.fillReaches({2, 9, "0.95", "0.8", ""});
    for (int k = 0; k < 4; ++k) {
        ReachWidgetImpl* panel = reach(form, k);
        EXPECT_EQ(panel->survivalEdit->text(), k == 0 ? "0.9" : "0.95") << k;
        EXPECT_EQ(panel->removalEdit->text(), "0") << k;
    }
    EXPECT_EQ(reach(form, 0)->captureEdit->text(), "0.6");
    EXPECT_EQ(reach(form, 2)->captureEdit->text(), "0.8");
    EXPECT_EQ(reach(form, 3)->captureEdit->text(), "0.6"); // follows P1
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrS, 3).toString(), "0.95");
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrP, 3).toString(), "0.6");

    ASSERT_TRUE(form.fillHistory()->canUndo());
    EXPECT_EQ(form.fillHistory()->count(), 1);
    form.fillHistory()->undo();
    for (const InputField& field : before.fields())
        EXPECT_EQ(form.inputs().field(field.key).text, field.text) << field.key.toStdString();
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::SrS, 3).toString(), "0.6");
}

TEST(ReleaseRecaptureWidget, NewReachesTakeTheLastReachsValuesInsteadOfBlanks)
{
    TestStore store;
    PairedReleaseWidget paired(store.get());
    paired.setNumReaches(2);
    const auto panels = [&paired] { return paired.findChildren<TCReachWidgetImpl*>(); };
    panels()[0]->survivalEdit->setText("0.5:0.9"); // a range is not copied
    panels()[0]->captureEdit->setText("0.7");
    panels()[0]->removalEdit->setText("0.1");
    paired.setNumReaches(99);
    ASSERT_EQ(panels().size(), 98);
    for (TCReachWidgetImpl* panel : {panels()[1], panels()[97]}) {
        EXPECT_EQ(panel->survivalEdit->text(), "0.5");
        EXPECT_EQ(panel->captureEdit->text(), "0.7");
        EXPECT_EQ(panel->removalEdit->text(), "0.1");
    }
    EXPECT_EQ(store->arrayValue(QVSettingsKeys::PrP, 97).toString(), "0.7");
    EXPECT_EQ(paired.rangeSpec()->ownerName(), "S2");

    // Stored inputs of a reach win over the copy.
    TestStore stored;
    storeSingleDesign(stored);
    SingleReleaseWidget single(stored.get());
    single.setNumReaches(5);
    EXPECT_EQ(reach(single, 3)->survivalEdit->text(), "0.6");
}

// Every input of the chain has its tool tip and What's This text.
TEST(ReleaseRecaptureWidget, EveryFieldAndComboExplainsItself)
{
    TestStore store;
    SingleReleaseWidget form(store.get());
    form.setNumReaches(3);
    EXPECT_EQ(reach(form, 1)->captureEdit->toolTip(),
              "Detection probability at site 2: the chance that a fish alive at the site is "
              "detected there");
    for (QWidget* input : form.findChildren<QWidget*>()) {
        if (!qobject_cast<RangeLineEdit*>(input) && !qobject_cast<QComboBox*>(input))
            continue;
        EXPECT_FALSE(input->toolTip().isEmpty()) << input->objectName().toStdString();
        EXPECT_FALSE(input->whatsThis().isEmpty()) << input->objectName().toStdString();
    }
}
