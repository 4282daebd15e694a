#include "CalcTestSupport.h"

#include "ModalBoxAnswerer.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "forms/StudyWidget.h"
#include "forms/core/VWPInputs.h"
#include "forms/tirr/TIRRWidgetImpl.h"
#include "framework/run/ThreadRunner.h"
#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

#include <QMessageBox>

#include <functional>

using namespace quorvel::test;
using Key = QVSettingsKeys;

namespace {

// A design's form in a state beyond its defaults: stored before the window
// opens (reach count, sharing, links, a range, replicate options), and
// changed in the open form where the store keeps nothing (the transport
// design's mode).
struct FormState
{
    Design::Kind kind;
    std::function<void(TestStore&)> store;
    std::function<void(StudySubWindow&)> change = nullptr;
};

void storeArray(TestStore& store, int id, const QStringList& values)
{
    for (int k = 0; k < values.size(); ++k)
        store->setArrayValue(id, k, values[k]);
}

QList<FormState> formStates()
{
    return {
        {Design::SingleRelease,
         [](TestStore& s) {
             s->setValue(Key::SrNumReaches, 4);
             s->setValue(Key::SrR0, "1000:2000");
             storeArray(s, Key::SrS, {"0.85", "0.9", "0.8"});
             storeArray(s, Key::SrP, {"0.6", "0.7", "0.5"});
             storeArray(s, Key::SrD, {"0.2", "0.5", "0.1"});
             storeArray(s, Key::SrR, {"0", "50", "0"});
             s->setValue(Key::SrLambda, "0.55");
             s->setArrayValue(Key::SrSi, 2, 0);
             s->setArrayValue(Key::SrPi, 1, 0);
             s->setValue(Key::SrReplicatesEnabled, true);
             s->setValue(Key::SrReplicatesNum, 3);
             s->setValue(Key::SrReplicateNatVar, "0.0001");
             s->setValue(Key::SrReplicatesPar, "S1");
             s->setValue(Key::TotalSurvVar, true);
         }},
        {Design::PairedRelease,
         [](TestStore& s) {
             s->setValue(Key::PrNumReaches, 3);
             s->setValue(Key::PrLinkReleases, true);
             s->setValue(Key::PrRt, "500:1500");
             s->setValue(Key::PrRc, "800");
             s->setValue(Key::PrSt, "0.85");
             s->setValue(Key::PrSc, "0.92");
             s->setValue(Key::PrP1, "0.6");
             s->setValue(Key::PrD1, "0.2");
             storeArray(s, Key::PrS, {"0.9", "0.8"});
             storeArray(s, Key::PrP, {"0.7", "0.75"});
             storeArray(s, Key::PrD, {"0.1", "0"});
             s->setValue(Key::PrLambda, "0.5");
             s->setArrayValue(Key::PrSi, 1, 0);
             s->setValue(Key::PrecisionErr, 6);
         }},
        {Design::TIRR,
         [](TestStore& s) {
             s->setValue(Key::TirrLinkReleases, true);
             s->setValue(Key::TirrRc, "500");
             s->setValue(Key::TirrRt, "300");
             s->setValue(Key::TirrSc, "0.8");
             s->setValue(Key::TirrP, "0.5");
             s->setValue(Key::TirrTheta, "0.5");
             s->setValue(Key::TirrT, "0.5:1.5");
         },
         [](StudySubWindow& window) {
             static_cast<TIRRWidgetImpl*>(window.studyWidget())->thetaRadio->click();
         }},
        {Design::BTPS,
         [](TestStore& s) {
             s->setValue(Key::BtpsUseSt, false);
             s->setValue(Key::BtpsUseT, true);
             s->setValue(Key::BtpsLinkReleases, true);
             s->setValue(Key::BtpsRc, "1000");
             s->setValue(Key::BtpsRt, "700");
             s->setValue(Key::BtpsSc, "0.5:0.9");
             s->setValue(Key::BtpsSt, "0.72");
             s->setValue(Key::BtpsT, "0.9");
             s->setValue(Key::BtpsPa, "0.5");
             s->setValue(Key::BtpsPd, "0.3");
         }},
        {Design::VWP,
         [](TestStore& s) {
             s->setValue(Key::VwpLinkAllReleases, true);
             s->setValue(Key::VwpLinkReleases, true);
             s->setValue(Key::VwpV1, "2000");
             s->setValue(Key::VwpR2, "1000");
             s->setValue(Key::VwpR3, "900");
             s->setValue(Key::VwpS1dam, "0.8:0.95");
             s->setValue(Key::VwpSprime12, "0.95");
             s->setValue(Key::VwpS12, "0.9");
             s->setValue(Key::VwpP1, "0.7");
             s->setValue(Key::VwpP2, "0.6");
             s->setValue(Key::VwpLambda, "0.5");
         }},
    };
}

void expectSameFields(const StudyInputs& actual, const StudyInputs& expected)
{
    EXPECT_EQ(actual.rangeHolder(), expected.rangeHolder());
    ASSERT_EQ(actual.fields().size(), expected.fields().size());
    for (const InputField& field : expected.fields()) {
        ASSERT_TRUE(actual.hasField(field.key)) << field.key.toStdString();
        const InputField& loaded = actual.field(field.key);
        EXPECT_EQ(loaded.text, field.text) << field.key.toStdString();
        EXPECT_EQ(loaded.name, field.name) << field.key.toStdString();
        EXPECT_EQ(loaded.enabled, field.enabled) << field.key.toStdString();
    }
}

void expectSameState(const StudyInputs& actual, const StudyInputs& expected)
{
    EXPECT_EQ(actual.reaches, expected.reaches);
    EXPECT_EQ(actual.switches, expected.switches);
    EXPECT_EQ(actual.choices, expected.choices);
    expectSameFields(actual, expected);
}

bool aBoxIsShown()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(widget) && widget->isVisible())
            return true;
    return false;
}

} // namespace

// A form saved to a design file and the file opened in a fresh form of a
// fresh store: the same form state and the same report, without a box, and
// stored, so that the form opens so again.
TEST(SavedDesign, EachFormSavedAndLoadedAgainShowsTheSameStateAndReport)
{
    for (const FormState& state : formStates()) {
        SCOPED_TRACE(designs::info(state.kind).name.toStdString());
        ModalBoxAnswerer boxes;
        QByteArray file;
        StudyInputs saved;
        QString savedReport;
        {
            TestStore store;
            state.store(store);
            const std::unique_ptr<StudySubWindow> window = windowFor(state.kind, store.get());
            if (state.change)
                state.change(*window);
            const Design design = window->design();
            file = DesignFile::write(design);
            saved = design.inputs;
            ryn::ThreadRunner runner;
            ASSERT_TRUE(runToEnd(*window, runner));
            savedReport = reportOf(*window);
        }

        TestStore store;
        {
            const std::unique_ptr<StudySubWindow> window = windowFor(state.kind, store.get());
            Design opened;
            QString error;
            ASSERT_TRUE(DesignFile::read(file, &opened, &error)) << error.toStdString();
            ASSERT_TRUE(window->loadDesign(opened));
            EXPECT_FALSE(aBoxIsShown());
            expectSameState(window->studyWidget()->inputs(), saved);
            ryn::ThreadRunner runner;
            ASSERT_TRUE(runToEnd(*window, runner));
            EXPECT_EQ(reportOf(*window), savedReport);
        }
        // The transport design's mode is not stored; everything else is.
        const std::unique_ptr<StudySubWindow> reopened = windowFor(state.kind, store.get());
        if (state.kind == Design::TIRR)
            state.change(*reopened);
        expectSameState(reopened->studyWidget()->inputs(), saved);
        EXPECT_TRUE(boxes.seen.isEmpty()) << boxes.seen.join(", ").toStdString();
    }
}

TEST(SavedDesign, InputsOfAnotherDesignOrReachCountChangeNothingInAForm)
{
    TestStore store;
    formStates()[0].store(store);
    const std::unique_ptr<StudySubWindow> single = windowFor(Design::SingleRelease, store.get());
    const std::unique_ptr<StudySubWindow> btps = windowFor(Design::BTPS, store.get());
    const StudyInputs before = single->studyWidget()->inputs();

    EXPECT_FALSE(single->studyWidget()->loadInputs(btps->studyWidget()->inputs()));
    EXPECT_FALSE(single->loadDesign(btps->design()));
    EXPECT_FALSE(btps->studyWidget()->loadInputs(before));
    StudyInputs tooMany = designs::info(Design::SingleRelease).blankInputs(5);
    tooMany.reaches = 4;
    EXPECT_FALSE(single->studyWidget()->loadInputs(tooMany));
    expectSameState(single->studyWidget()->inputs(), before);
}

// Linking all three releases unchecks the link of R2 and R3 without storing
// it: a design loaded without links must store that link off all the same.
TEST(SavedDesign, LinksLoadedIntoAFormAreStoredEvenWhereItsBoxAlreadyShowsThem)
{
    TestStore store;
    formStates()[4].store(store);
    StudyInputs unlinked;
    {
        const std::unique_ptr<StudySubWindow> vwp = windowFor(Design::VWP, store.get());
        unlinked = vwp->studyWidget()->inputs();
        unlinked.switches[VWPInputs::linkAllReleases] = false;
        VWPInputs::applySwitches(unlinked);
        ASSERT_TRUE(vwp->studyWidget()->loadInputs(unlinked));
    }
    const std::unique_ptr<StudySubWindow> reopened = windowFor(Design::VWP, store.get());
    expectSameState(reopened->studyWidget()->inputs(), unlinked);
}
