#include "app/QVWindow.h"

#include "app/GettingStartedDialog.h"

#include "ModalBoxAnswerer.h"
#include "ReferenceCases.h"
#include "ReportDocument.h"
#include "ScreenCheck.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "forms/btps/BTPSWidgetImpl.h"
#include "forms/dialogs/FillReachesDialog.h"
#include "forms/dialogs/ReachNumDialog.h"
#include "forms/dialogs/RunModeDialogImpl.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/release_recapture/FinalReachWidgetImpl.h"
#include "forms/release_recapture/PairedReleaseWidget.h"
#include "forms/release_recapture/ReachWidgetImpl.h"
#include "forms/release_recapture/ReleaseWidgetImpl.h"
#include "forms/release_recapture/SingleReleaseWidget.h"
#include "forms/release_recapture/TCFinalReachWidgetImpl.h"
#include "forms/release_recapture/TCReleaseWidgetImpl.h"
#include "forms/tirr/TIRRWidgetImpl.h"
#include "forms/vwp/VWPWidget.h"
#include "framework/navigation/NavPanelItem.h"
#include "framework/navigation/NavPanelView.h"
#include "framework/run/ThreadRunnable.h"
#include "framework/run/ThreadRunner.h"
#include "plot/QVPlotControls.h"
#include "plot/QVPlotWidget.h"
#include "studies/common/window/EffectPanel.h"
#include "studies/release_recapture/window/PairedReleaseSubWindow.h"
#include "studies/release_recapture/window/SingleReleaseSubWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTextTable>
#include <QTimer>

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

using namespace quorvel::test;

namespace {

enum { SR = 1, PR = 2, TIRR = 4, BTPS = 8, VWP = 16 };

// A shown main window on the test's store.
std::unique_ptr<QVWindow> shownWindow(TestStore& store)
{
    auto window = std::make_unique<QVWindow>(store.get());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return window;
}

// What a user does: double-click the design in the navigation panel or click
// "Run analysis" (the entries' actions), type into a field.
StudySubWindow* open(QVWindow& window, int type)
{
    window.studyItem(type)->trigger();
    return window.activeStudyWindow();
}

void type(RangeLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Runs the active design and waits until the run has ended either way.
void runAnalysis(QVWindow& window)
{
    window.runAnalysisItem()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window.pendingRunType() == 0; }, 30000));
}

QList<ReachWidgetImpl*> reachPanels(SingleReleaseWidget* form)
{
    QList<ReachWidgetImpl*> panels = form->findChildren<ReachWidgetImpl*>();
    std::sort(panels.begin(), panels.end(), [](ReachWidgetImpl* a, ReachWidgetImpl* b) {
        return a->reachNumber() < b->reachNumber();
    });
    return panels;
}

QList<QwtPlotCurve*> curvesOf(const QVPlotWidget* plot)
{
    QList<QwtPlotCurve*> curves;
    for (QwtPlotItem* item : plot->plot()->itemList(QwtPlotItem::Rtti_PlotCurve))
        curves << static_cast<QwtPlotCurve*>(item);
    return curves;
}

bool isShown(QWidget* w)
{
    return w && !w->isHidden();
}

// The certified two-reach single release: R0 ranged from its 2000 to 4000.
void enterSingleRelease(StudySubWindow* study, QVWindow& window)
{
    window.reachesDialog()->reachNumSpin->setValue(3);
    auto* form = static_cast<SingleReleaseSubWindow*>(study)->singleReleaseForm();
    type(form->releaseWidget()->releaseEdit, "2000:4000");
    const QList<ReachWidgetImpl*> panels = reachPanels(form);
    const char* values[2][4] = {{"0.8", "0.7", "0", "0"}, {"0.9", "0.6", "0", "0"}};
    for (int k = 0; k < 2; ++k) {
        type(panels[k]->survivalEdit, values[k][0]);
        type(panels[k]->captureEdit, values[k][1]);
        type(panels[k]->removalEdit, values[k][2]);
        type(panels[k]->releaseEdit, values[k][3]);
    }
    type(form->finalReachWidget()->productEdit, "0.5");
}

// The certified paired release without downstream reaches, Rt and Rc linked
// and ranged from 1000 to 2000.
void enterPairedRelease(StudySubWindow* study, QVWindow& window)
{
    window.reachesDialog()->reachNumSpin->setValue(1);
    auto* form = static_cast<PairedReleaseSubWindow*>(study)->pairedReleaseForm();
    TCReleaseWidgetImpl* release = form->releaseWidget();
    release->linkReleasesCheckBox->setChecked(true);
    type(release->treatmentReleaseEdit, "1000:2000");
    type(release->treatmentSurvivalEdit, "0.8");
    type(release->controlSurvivalEdit, "0.9");
    type(release->captureEdit, "0.7");
    type(release->removalEdit, "0");
    type(form->finalReachWidget()->productEdit, "0.6");
}

// θ = 0.5, T = 0.8, Rc and Rt linked and ranged from 500 to 1000.
void enterTransport(StudySubWindow* study, QVWindow&)
{
    auto* form = static_cast<TIRRWidgetImpl*>(study->studyWidget());
    form->linkCheckBox->setChecked(true);
    type(form->r1Edit, "500:1000");
    form->thetaRadio->setChecked(true);
    type(form->thetaEdit, "0.5");
    type(form->tauEdit, "0.8");
}

// Sc = 0.8, St = 0.72, Pa = 0.5, Pd = 0.3, Rc and Rt linked and ranged from
// 1000 to 2000.
void enterBalloonTag(StudySubWindow* study, QVWindow&)
{
    auto* form = static_cast<BTPSWidgetImpl*>(study->studyWidget());
    form->linkCheckBox->setChecked(true);
    type(form->rcEdit, "1000:2000");
    form->scstRadio->setChecked(true);
    type(form->scEdit, "0.8");
    type(form->stEdit, "0.72");
    type(form->paEdit, "0.5");
    type(form->pdEdit, "0.3");
}

// The certified virtual paired release with Sdam ranged from its 0.9 to 0.95.
void enterVirtualPaired(StudySubWindow* study, QVWindow&)
{
    auto* form = static_cast<VWPWidget*>(study->studyWidget());
    form->linkReleasesCheckBox->setChecked(false);
    form->linkAllReleasesCheckBox->setChecked(false);
    type(form->v1Edit, "2000");
    type(form->r2Edit, "1000");
    type(form->r3Edit, "1000");
    type(form->sDamEdit, "0.9:0.95");
    type(form->sPrime11Edit, "0.95");
    type(form->s12Edit, "0.9");
    type(form->p1Edit, "0.7");
    type(form->p2Edit, "0.6");
    type(form->lambdaEdit, "0.5");
}

// One design run from its form: the certified case at the range's first
// point, the report's rounding, and where the report shows standard errors
// (a column per parameter, headed by its name, when seColumn is -1).
struct EndToEnd
{
    int type;
    std::function<void(StudySubWindow*, QVWindow&)> enterInputs;
    const char* referenceId;
    int points;
    double firstX;
    double lastX;
    // All release sizes grow together, so variances fall as 1 / x.
    bool releaseRange;
    int seColumn;
    const char* se;
    const char* half90;
    const char* half95;
    double reportTolerance;
};

// An expected value: a number, or the entry of the named parameter.
double expectedValue(const QJsonObject& expected, const char* key, const QString& parameter)
{
    const QJsonValue value = expected[key];
    if (!value.isArray())
        return value.toDouble();
    const QStringList names = expected["parameter_names"].toVariant().toStringList();
    return toDoubles(value)[static_cast<std::size_t>(names.indexOf(parameter))];
}

// Stands in for the computation: holds the runner until released.
class BlockingRunnable : public ryn::ThreadRunnable
{
public:
    using ThreadRunnable::ThreadRunnable;
    void run() override { gate.acquire(); }
    QSemaphore gate;
};

} // namespace

TEST(QVWindow, MenusNavigationAndShortcutsOfAFreshStart)
{
    TestStore store;
    QVWindow window(store.get());
    EXPECT_EQ(window.windowTitle(), "Quorvel");
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&File", "Edit", "&View", "Tools", "&Window", "&Help"}));

    const QList<QAction*> file = window.menu(QVWindow::FileMenu)->actions();
    EXPECT_EQ(file.first(), window.runAnalysisItem());
    EXPECT_EQ(window.runAnalysisItem()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(window.action(QVWindow::SaveAsAction)->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(window.action(QVWindow::PrintAction)->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(window.action(QVWindow::ExitAction)->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_FALSE(window.action(QVWindow::SaveAction)->isVisible());
    for (int id : {QVWindow::SaveAsAction, QVWindow::PrintAction, QVWindow::PrintPreviewAction})
        EXPECT_FALSE(window.action(id)->isEnabled());

    QStringList designs;
    for (int t : {SR, PR, TIRR, BTPS, VWP}) {
        designs << window.studyItem(t)->text;
        EXPECT_TRUE(window.menu(QVWindow::WindowMenu)->actions().contains(window.studyItem(t)));
        EXPECT_FALSE(window.studyItem(t)->toolTip().isEmpty());
    }
    EXPECT_EQ(designs, (QStringList{"Single Release", "Paired Release", "Transport In-River Ratio",
                                    "Balloon-Tag Passage Survival Estimate",
                                    "Virtual with a Paired Release"}));
    EXPECT_TRUE(window.navView()->whatsThis().startsWith("<b>Navigation:</b> Select your study"));
    EXPECT_TRUE(window.runAnalysisItem()->toolTip().contains("F5"));

    // Nothing to run until a design is open; the dialogs serve only the
    // release-recapture designs.
    EXPECT_FALSE(window.runAnalysisItem()->isEnabled());
    EXPECT_FALSE(window.reachesDialog()->isEnabled());
    open(window, TIRR);
    EXPECT_TRUE(window.runAnalysisItem()->isEnabled());
    EXPECT_TRUE(window.studyItem(TIRR)->active);
    EXPECT_TRUE(window.studyItem(TIRR)->isChecked());
    EXPECT_FALSE(window.replicatesDialog()->isEnabled());
    open(window, PR);
    EXPECT_FALSE(window.studyItem(TIRR)->active);
    EXPECT_TRUE(window.replicatesDialog()->isEnabled());
    EXPECT_EQ(window.reachesDialog()->studyType(), PR);
}

TEST(QVWindow, EveryDesignRunsFromItsFormToTheCertifiedReportAndPlot)
{
    const EndToEnd designs[] = {
        {SR, enterSingleRelease, "single_two_reaches", 20, 2000, 4000, true, -1, "standard_errors",
         "half_width_90", "half_width_95", 1e-6},
        {PR, enterPairedRelease, "paired_no_downstream_reach", 100, 1000, 2000, true, -1,
         "standard_errors", "half_width_90", "half_width_95", 1e-6},
        {TIRR, enterTransport, "transport_theta_given", 50, 500, 1000, true, 2, "se_T",
         "half_width_90", "half_width_95", 1e-3},
        {BTPS, enterBalloonTag, "balloon_tag_st_given", 100, 1000, 2000, true, 2, "se_T",
         "half_width_90", "half_width_95", 1e-5},
        {VWP, enterVirtualPaired, "virtual_paired_basic", 100, 0.9, 0.95, false, 1, "se_Sdam",
         "half_width_90_Sdam", "half_width_95_Sdam", 1e-5},
    };
    for (const EndToEnd& design : designs) {
        SCOPED_TRACE(design.referenceId);
        const QJsonObject reference = referenceCase(design.referenceId);
        const QJsonObject expected = reference["expected"].toObject();
        const double tolerance = reference["relative_tolerance"].toDouble();
        TestStore store;
        std::unique_ptr<QVWindow> window = shownWindow(store);
        // A box that a fault brings up is answered, so that the run ends,
        // and fails the test.
        ModalBoxAnswerer answerer;
        StudySubWindow* study = open(*window, design.type);
        ASSERT_EQ(study->id(), design.type);
        design.enterInputs(study, *window);
        runAnalysis(*window);
        EXPECT_TRUE(answerer.seen.isEmpty()) << answerer.seen.join('\n').toStdString();

        // The plot: both half-widths of the first parameter over the range.
        QVPlotWidget* plot = window->plotWidget();
        ASSERT_TRUE(plot);
        EXPECT_TRUE(isShown(window->subWindow(QVWindow::PlotWindowId)));
        const QString parameter = plot->controls()->parsCombo->currentText();
        const QList<QwtPlotCurve*> curves = curvesOf(plot);
        ASSERT_EQ(curves.size(), 2);
        const double halfWidths[2] = {expectedValue(expected, design.half90, parameter),
                                      expectedValue(expected, design.half95, parameter)};
        for (int c = 0; c < 2; ++c) {
            const QwtPlotCurve* curve = curves[c];
            ASSERT_EQ(static_cast<int>(curve->dataSize()), design.points);
            EXPECT_REL_NEAR(curve->sample(0).x(), design.firstX, 1e-12);
            EXPECT_REL_NEAR(curve->sample(curve->dataSize() - 1).x(), design.lastX, 1e-12);
            EXPECT_REL_NEAR(curve->sample(0).y(), halfWidths[c], tolerance);
            if (design.releaseRange) {
                EXPECT_REL_NEAR(curve->sample(curve->dataSize() - 1).y(),
                                halfWidths[c] * std::sqrt(design.firstX / design.lastX), tolerance);
            }
        }
        EXPECT_TRUE(plot->plot()->title().text().startsWith(study->title() + ": Precision of "));

        // The report: the standard errors of the first point, as rounded,
        // under their heading or in the last table.
        QTextEdit* report = window->textOutput();
        ASSERT_TRUE(report);
        EXPECT_TRUE(isShown(window->subWindow(QVWindow::TextOutputWindowId)));
        const QList<QTextTable*> tables = tablesOf(*report->document());
        ASSERT_FALSE(tables.isEmpty());
        QTextTable* table = tableUnder(*report->document(), "Standard Errors:");
        if (!table)
            table = tables.last();
        ASSERT_EQ(table->rows(), design.points + 1);
        ASSERT_GT(table->columns(), std::max(design.seColumn, 1));
        EXPECT_REL_NEAR(cellText(table, 1, 0).toDouble(), design.firstX, 1e-12);
        if (design.seColumn >= 0) {
            EXPECT_REL_NEAR(cellText(table, 1, design.seColumn).toDouble(),
                            expected[design.se].toDouble(), design.reportTolerance);
        } else {
            for (int c = 1; c < table->columns(); ++c) {
                if (cellText(table, 0, c).startsWith("Power"))
                    continue;
                EXPECT_REL_NEAR(cellText(table, 1, c).toDouble(),
                                expectedValue(expected, design.se, cellText(table, 0, c)),
                                design.reportTolerance)
                    << cellText(table, 0, c).toStdString();
            }
        }
    }
}

namespace {

// A single release of two reaches stored as a user left it; release is the
// text of R0, which may be a range.
void storeSingleRelease(TestStore& store, const QString& release)
{
    store->setValue(QVSettingsKeys::SrNumReaches, 3);
    store->setValue(QVSettingsKeys::SrR0, release);
    store->setValue(QVSettingsKeys::SrLambda, "0.5");
    for (int k = 0; k < 2; ++k) {
        store->setArrayValue(QVSettingsKeys::SrS, k, "0.8");
        store->setArrayValue(QVSettingsKeys::SrP, k, "0.7");
        store->setArrayValue(QVSettingsKeys::SrD, k, "0");
        store->setArrayValue(QVSettingsKeys::SrR, k, "0");
    }
}

bool outputEnabled(const QVWindow& window)
{
    const bool saveAs = window.action(QVWindow::SaveAsAction)->isEnabled();
    EXPECT_EQ(window.action(QVWindow::PrintAction)->isEnabled(), saveAs);
    EXPECT_EQ(window.action(QVWindow::PrintPreviewAction)->isEnabled(), saveAs);
    return saveAs;
}

} // namespace

TEST(QVWindow, CancelledFailedAndRefusedRunsShowNothingAndTheNextRunWorks)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    std::unique_ptr<QVWindow> window = shownWindow(store);
    ModalBoxAnswerer answerer;
    StudySubWindow* study = open(*window, SR);

    // Cancelled after the computation ended but before its end was handled:
    // still no report.
    window->runAnalysisItem()->trigger();
    EXPECT_EQ(window->pendingRunType(), SR);
    EXPECT_TRUE(window->progressDialog()->isVisible());
    EXPECT_EQ(window->progressDialog()->labelText(), "Calculating...");
    window->threadRunner()->wait();
    window->progressDialog()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->pendingRunType() == 0; }, 10000));
    EXPECT_EQ(window->textOutput(), nullptr);
    EXPECT_FALSE(window->progressDialog()->isVisible());

    runAnalysis(*window);
    ASSERT_TRUE(window->textOutput());
    EXPECT_TRUE(window->textOutput()->toPlainText().startsWith("Single Release Results"));
    EXPECT_TRUE(isShown(window->subWindow(QVWindow::PlotWindowId)));
    EXPECT_EQ(curvesOf(window->plotWidget())[0]->dataSize(), 100u);

    // Save as, Print and Print preview follow the report and the plot.
    QMdiArea* area = window->mdiArea();
    for (int key : {int(QVWindow::TextOutputWindowId), int(SR), int(QVWindow::PlotWindowId)}) {
        area->setActiveSubWindow(static_cast<QMdiSubWindow*>(window->subWindow(key)));
        EXPECT_EQ(outputEnabled(*window), key != SR) << key;
    }

    // A point whose precision cannot be computed (no fish survive the first
    // reach, so nothing below it can be estimated) ends the run with an error
    // and nothing new in the report window.
    auto* form = static_cast<SingleReleaseSubWindow*>(study)->singleReleaseForm();
    RangeLineEdit* s1 = reachPanels(form)[0]->survivalEdit;
    type(s1, "0.000000000000000000001");
    window->textOutput()->clear();
    runAnalysis(*window);
    EXPECT_EQ(answerer.seen, QStringList{"Quorvel|Singular hessian: step = 0|critical"});
    EXPECT_TRUE(window->textOutput()->document()->isEmpty());

    // One point: a report and no plot.
    type(s1, "0.8");
    type(form->releaseWidget()->releaseEdit, "2000");
    runAnalysis(*window);
    EXPECT_TRUE(window->textOutput()->toPlainText().startsWith("Single Release Results"));
    EXPECT_TRUE(window->subWindow(QVWindow::PlotWindowId)->isHidden());

    // Inputs that pass the checks but cannot be read start nothing: no
    // progress dialog, and the next run may start.
    for (int id : {QVSettingsKeys::TirrRc, QVSettingsKeys::TirrRt})
        store->setValue(id, "500");
    store->setValue(QVSettingsKeys::TirrSc, "1");
    store->setValue(QVSettingsKeys::TirrP, "0.5");
    store->setValue(QVSettingsKeys::TirrT, "30000000000");
    open(*window, TIRR);
    window->runAnalysisItem()->trigger();
    EXPECT_EQ(window->pendingRunType(), 0);
    EXPECT_FALSE(window->progressDialog()->isVisible());
    EXPECT_EQ(answerer.seen.last(),
              "Transport In-River Ratio|Out of range value in T: 3e+10|critical");
}

TEST(QVWindow, RunAnalysisIsIgnoredWhileARunIsPendingOrTheRunnerBusy)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    std::unique_ptr<QVWindow> window = shownWindow(store);
    auto* study = static_cast<SingleReleaseSubWindow*>(open(*window, SR));

    // The runner held by other work: nothing starts.
    BlockingRunnable blocker(window->threadRunner());
    window->threadRunner()->setRunnable(&blocker);
    window->threadRunner()->start();
    window->runAnalysisItem()->trigger();
    EXPECT_EQ(window->pendingRunType(), 0);
    EXPECT_EQ(study->run(), nullptr);
    EXPECT_FALSE(window->progressDialog()->isVisible());
    blocker.gate.release();
    window->threadRunner()->wait();
    QTest::qWait(0);

    // The first run's end not yet handled: the second request changes nothing.
    window->runAnalysisItem()->trigger();
    const SingleReleaseRun* first = study->run();
    ASSERT_TRUE(first);
    window->threadRunner()->wait();
    type(study->singleReleaseForm()->releaseWidget()->releaseEdit, "3000");
    window->runAnalysisItem()->trigger();
    EXPECT_EQ(study->run(), first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->pendingRunType() == 0; }, 10000));
    EXPECT_EQ(study->resultCount(), 100);
    EXPECT_TRUE(isShown(window->subWindow(QVWindow::PlotWindowId)));
}

TEST(QVWindow, ReopensTheDesignsOfTheStoredMaskWithTheLastOneActive)
{
    TestStore store;
    store->setValue(QVSettingsKeys::StudyWinOpenState, 5);
    QVWindow window(store.get());
    EXPECT_TRUE(isShown(window.subWindow(SR)));
    EXPECT_TRUE(isShown(window.subWindow(TIRR)));
    EXPECT_EQ(window.subWindow(PR), nullptr);
    ASSERT_TRUE(window.activeStudyWindow());
    EXPECT_EQ(window.activeStudyWindow()->id(), TIRR);
    EXPECT_FALSE(window.studyItem(SR)->active);
    EXPECT_TRUE(window.studyItem(TIRR)->isChecked());
    EXPECT_TRUE(window.runAnalysisItem()->isEnabled());
    EXPECT_FALSE(window.reachesDialog()->isEnabled());
    EXPECT_EQ(StudySubWindow::openStudiesMask(), 5u);
}

// Each design keeps its reach count, the range held in one of its reaches and
// its replicate parameter while the dialogs serve the other design.
TEST(QVWindow, SwitchingDesignsKeepsEachDesignsReachesRangeAndReplicateParameter)
{
    TestStore store;
    store->setValue(QVSettingsKeys::SrReplicatesPar, "S2");
    store->setValue(QVSettingsKeys::PrReplicatesPar, "St");
    store->setValue(QVSettingsKeys::PrNumReaches, 1);
    // Stored inputs: the designs open with them, not with their examples.
    store->setValue(QVSettingsKeys::SrR0, "1000");
    store->setValue(QVSettingsKeys::PrRt, "1000");
    std::unique_ptr<QVWindow> window = shownWindow(store);
    QSpinBox* reachSpin = window->reachesDialog()->reachNumSpin;
    QComboBox* parameter = window->replicatesDialog()->multiParCombo;

    auto* single = static_cast<SingleReleaseSubWindow*>(open(*window, SR));
    reachSpin->setValue(5);
    RangeLineEdit* s4 = reachPanels(single->singleReleaseForm())[3]->survivalEdit;
    type(s4, "0.5:0.9");
    ASSERT_TRUE(s4->holdsRange());
    EXPECT_EQ(parameter->currentText(), "S2");

    open(*window, PR);
    EXPECT_EQ(reachSpin->value(), 1);
    EXPECT_EQ(reachSpin->minimum(), 1);
    EXPECT_EQ(parameter->currentText(), "St");
    EXPECT_EQ(parameter->itemText(0), "Sc");

    open(*window, SR);
    EXPECT_EQ(reachSpin->value(), 5);
    EXPECT_EQ(single->form()->numReaches(), 5);
    EXPECT_EQ(reachPanels(single->singleReleaseForm())[3]->survivalEdit, s4);
    EXPECT_TRUE(s4->holdsRange());
    EXPECT_EQ(s4->text(), "0.5:0.9");
    EXPECT_EQ(parameter->currentText(), "S2");
    EXPECT_EQ(store->stringValue(QVSettingsKeys::SrReplicatesPar), "S2");
    EXPECT_EQ(store->stringValue(QVSettingsKeys::PrReplicatesPar), "St");

    // The dialog offers the active design's parameters as its reaches change.
    reachSpin->setValue(2);
    EXPECT_EQ(parameter->count(), 3);
    EXPECT_EQ(parameter->currentText(), "S1");
    EXPECT_EQ(store->stringValue(QVSettingsKeys::SrReplicatesPar), "S2");
}

TEST(QVWindow, ClosingTheActiveDesignActivatesTheFirstOtherShownOne)
{
    TestStore store;
    std::unique_ptr<QVWindow> window = shownWindow(store);
    for (int t : {SR, PR, TIRR})
        open(*window, t);

    // A design's window brought to the front is the active design.
    QMdiArea* area = window->mdiArea();
    area->setActiveSubWindow(static_cast<QMdiSubWindow*>(window->subWindow(PR)));
    EXPECT_EQ(window->activeStudyWindow()->id(), PR);
    EXPECT_EQ(window->reachesDialog()->studyType(), PR);
    area->setActiveSubWindow(static_cast<QMdiSubWindow*>(window->subWindow(TIRR)));
    EXPECT_EQ(window->activeStudyWindow()->id(), TIRR);

    // A design closed while another is active changes nothing else.
    window->subWindow(SR)->close();
    EXPECT_TRUE(window->subWindow(SR)->isHidden());
    EXPECT_EQ(window->activeStudyWindow()->id(), TIRR);

    window->subWindow(TIRR)->close();
    ASSERT_TRUE(window->activeStudyWindow());
    EXPECT_EQ(window->activeStudyWindow()->id(), PR);
    EXPECT_TRUE(window->studyItem(PR)->isChecked());
    EXPECT_FALSE(window->studyItem(TIRR)->isChecked());
    EXPECT_EQ(window->reachesDialog()->studyType(), PR);
    EXPECT_EQ(window->replicatesDialog()->studyType(), PR);
    EXPECT_TRUE(window->reachesDialog()->isEnabled());

    window->subWindow(PR)->close();
    EXPECT_FALSE(window->hasActiveStudy());
    EXPECT_FALSE(window->runAnalysisItem()->isEnabled());
    EXPECT_FALSE(window->reachesDialog()->isEnabled());
    EXPECT_EQ(StudySubWindow::openStudiesMask(), 0u);
}

// A newcomer sees how to begin, gets a design that runs at once, and finds
// help; inputs stored before are never replaced by the example.
TEST(QVWindow, NewcomersSeeAHintAnExampleThatRunsAndHelp)
{
    TestStore store;
    store->setValue(QVSettingsKeys::TirrRc, "700");
    auto window = shownWindow(store);
    auto* hint = window->findChild<QLabel*>("EmptyAreaHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "Double-click a design on the left to begin; F5 runs it");

    QStringList help;
    for (QAction* action : window->menu(QVWindow::HelpMenu)->actions())
        help << action->text();
    EXPECT_TRUE(help.contains("What's This?")) << help.join('|').toStdString();
    EXPECT_TRUE(help.contains("&Getting started"));
    GettingStartedDialog page;
    EXPECT_TRUE(page.findChild<QTextBrowser*>()->toPlainText().contains("Fill reaches"));
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    expectInsideTheScreen(&page);
    page.hide();

    ModalBoxAnswerer answerer;
    StudySubWindow* btps = open(*window, BTPS);
    EXPECT_FALSE(hint->isVisible());
    auto* form = static_cast<BTPSWidgetImpl*>(btps->studyWidget());
    EXPECT_EQ(form->rcEdit->text(), "1000");
    EXPECT_EQ(store->value(QVSettingsKeys::BtpsRc).toString(), "1000");
    runAnalysis(*window);
    EXPECT_TRUE(answerer.seen.isEmpty()) << answerer.seen.join('\n').toStdString();
    ASSERT_TRUE(window->textOutput());
    EXPECT_FALSE(window->textOutput()->document()->isEmpty());

    StudySubWindow* tirr = open(*window, TIRR);
    EXPECT_EQ(static_cast<TIRRWidgetImpl*>(tirr->studyWidget())->r1Edit->text(), "700");
}

// Edit > Fill reaches… through its dialog, and Edit > Undo.
TEST(QVWindow, FillReachesFromTheEditMenuAndUndoIt)
{
    TestStore store;
    auto window = shownWindow(store);
    StudySubWindow* study = open(*window, SR);
    window->reachesDialog()->reachNumSpin->setValue(20);
    auto* form = static_cast<SingleReleaseSubWindow*>(study)->singleReleaseForm();
    const QList<ReachWidgetImpl*> panels = reachPanels(form);
    ASSERT_EQ(panels.size(), 19);
    const QString s5 = panels[4]->survivalEdit->text();

    QTimer::singleShot(50, [] {
        auto* dialog = qobject_cast<FillReachesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->fromSpin->setValue(5);
        dialog->toSpin->setValue(19);
        QTest::keyClicks(dialog->survivalEdit, "0.97");
        dialog->accept();
    });
    window->action(QVWindow::FillReachesAction)->trigger();
    EXPECT_EQ(panels[4]->survivalEdit->text(), "0.97");
    EXPECT_EQ(panels[18]->survivalEdit->text(), "0.97");
    EXPECT_NE(panels[3]->survivalEdit->text(), "0.97");

    QAction* undo = window->action(QVWindow::UndoFillAction);
    window->menu(QVWindow::EditMenu)->aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Fill reaches 5 to 19");
    undo->trigger();
    EXPECT_EQ(panels[4]->survivalEdit->text(), s5);
    EXPECT_FALSE(undo->isEnabled());
}

TEST(QVWindow, ResultsComeInFrontOfAMaximizedDesignAndTheWindowMenuListsThem)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    std::unique_ptr<QVWindow> window = shownWindow(store);
    ModalBoxAnswerer answerer;
    open(*window, SR);
    QWidget* design = window->subWindow(SR);
    design->showMaximized();
    QAction* textEntry = window->resultsWindowAction(QVWindow::TextOutputWindowId);
    QAction* plotEntry = window->resultsWindowAction(QVWindow::PlotWindowId);
    const QList<QAction*> menu = window->menu(QVWindow::WindowMenu)->actions();
    ASSERT_TRUE(menu.contains(textEntry) && menu.contains(plotEntry));
    EXPECT_EQ(textEntry->text(), "Text Output");
    EXPECT_EQ(plotEntry->text(), "Plot");
    EXPECT_FALSE(textEntry->isEnabled());

    runAnalysis(*window);
    EXPECT_FALSE(design->isMaximized());
    const QList<QMdiSubWindow*> stack = window->mdiArea()->subWindowList(QMdiArea::StackingOrder);
    for (int key : {int(QVWindow::TextOutputWindowId), int(QVWindow::PlotWindowId)}) {
        auto* results = static_cast<QMdiSubWindow*>(window->subWindow(key));
        EXPECT_TRUE(results->isVisible()) << key;
        EXPECT_GT(stack.indexOf(results), stack.indexOf(static_cast<QMdiSubWindow*>(design)));
    }
    EXPECT_EQ(window->activeStudyWindow()->id(), SR);
    EXPECT_TRUE(textEntry->isEnabled() && plotEntry->isEnabled());

    // A closed results window comes back from the menu, in front.
    window->subWindow(QVWindow::PlotWindowId)->close();
    plotEntry->trigger();
    EXPECT_TRUE(window->subWindow(QVWindow::PlotWindowId)->isVisible());
    EXPECT_EQ(window->activeSubWindowKey(), QVWindow::PlotWindowId);
    EXPECT_TRUE(answerer.seen.isEmpty());
}

TEST(QVWindow, TileAndResetKeepEveryWindowInsideTheDocumentAreaAtSensibleSizes)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    std::unique_ptr<QVWindow> window = shownWindow(store);
    window->resize(1400, 1000);
    QTest::qWait(0);
    for (int t : {SR, PR, TIRR, BTPS, VWP})
        open(*window, t);
    const QSize firstTransport = window->subWindow(TIRR)->size();
    open(*window, SR);
    runAnalysis(*window);
    const QSize frame = window->size();
    QMdiArea* area = window->mdiArea();
    const QRect inside = area->viewport()->rect();
    const auto check = [&](const char* what) {
        EXPECT_EQ(window->size(), frame) << what;
        const QList<QMdiSubWindow*> shown = area->subWindowList();
        EXPECT_EQ(shown.size(), 7);
        for (QMdiSubWindow* sub : shown) {
            const QSize least = sub->minimumSizeHint().boundedTo(inside.size());
            EXPECT_TRUE(inside.contains(sub->geometry()))
                << what << " " << sub->windowTitle().toStdString();
            EXPECT_GE(sub->width(), least.width())
                << what << " " << sub->windowTitle().toStdString();
            EXPECT_GE(sub->height(), least.height())
                << what << " " << sub->windowTitle().toStdString();
        }
    };
    window->action(QVWindow::TileAction)->trigger();
    check("tiled");
    window->action(QVWindow::ResetGeometryAction)->trigger();
    check("reset");
    // A design comes back at the size of its first opening where it fits.
    EXPECT_EQ(window->subWindow(TIRR)->size(), firstTransport);
}

// At the size a 1366 × 768 laptop screen gives the window, the navigation
// panel shows every entry (the panels below it scroll), every design opens
// wholly inside the document area, the virtual release's 700 × 600 window
// too, and after a run the plot leaves the report in view, also after the
// windows were cascaded over one another.
TEST(QVWindow, OnALaptopScreenEveryWindowOpensInsideAndTheResultsStayInView)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    std::unique_ptr<QVWindow> window = shownWindow(store);
    window->resize(1230, 690);
    QTest::qWait(0);
    ryn::NavPanelView* navigation = window->navView();
    int entries = 0;
    for (QModelIndex index = navigation->model()->index(0, 0); index.isValid();
         index = navigation->indexBelow(index), ++entries)
        EXPECT_TRUE(navigation->viewport()->rect().contains(navigation->visualRect(index)))
            << index.data().toString().toStdString();
    EXPECT_EQ(entries, 9);

    QMdiArea* area = window->mdiArea();
    const QRect inside = area->viewport()->rect();
    ASSERT_LT(inside.height(), 600);
    for (int t : {SR, PR, TIRR, BTPS, VWP}) {
        open(*window, t);
        QTest::qWait(0);
        const QWidget* design = window->subWindow(t);
        EXPECT_TRUE(inside.contains(design->geometry()))
            << design->windowTitle().toStdString() << " " << design->x() << "," << design->y()
            << " " << design->width() << "x" << design->height();
    }

    const auto expectReportInView = [&](const char* when) {
        QWidget* report = window->subWindow(QVWindow::TextOutputWindowId);
        QWidget* plot = window->subWindow(QVWindow::PlotWindowId);
        ASSERT_TRUE(isShown(report) && isShown(plot)) << when;
        EXPECT_TRUE(inside.contains(report->geometry())) << when;
        EXPECT_TRUE(inside.contains(plot->geometry())) << when;
        const QRect covered = report->geometry() & plot->geometry();
        EXPECT_LE(2 * covered.width() * covered.height(), report->width() * report->height())
            << when;
    };
    open(*window, SR);
    runAnalysis(*window);
    expectReportInView("first run");
    window->action(QVWindow::CascadeAction)->trigger();
    runAnalysis(*window);
    expectReportInView("run after a cascade");
    // The plot's controls take two rows on the narrow plot.
    EXPECT_FALSE(window->plotWidget()->controls()->isOneRow());
}

TEST(QVWindow, PairedPlotShowsTreatmentSurvivalAndKeepsTheUsersChoiceOverRunsAndStarts)
{
    TestStore store;
    {
        std::unique_ptr<QVWindow> window = shownWindow(store);
        StudySubWindow* study = open(*window, PR);
        enterPairedRelease(study, *window);
        runAnalysis(*window);
        QComboBox* parameter = window->plotWidget()->controls()->parsCombo;
        EXPECT_EQ(parameter->currentText(), "St");
        EXPECT_TRUE(window->plotWidget()->plot()->title().text().contains("Precision of St"));

        // The user's choice, by key on the list, stays over the next run.
        parameter->setFocus();
        QTest::keyClick(parameter, Qt::Key_Home);
        ASSERT_EQ(parameter->currentText(), "Sc");
        runAnalysis(*window);
        EXPECT_EQ(parameter->currentText(), "Sc");
    }
    std::unique_ptr<QVWindow> restarted = shownWindow(store);
    open(*restarted, PR);
    runAnalysis(*restarted);
    EXPECT_EQ(restarted->plotWidget()->controls()->parsCombo->currentText(), "Sc");
}

// The Effect Test panel follows the active design: a text it cannot read is
// said at once and refuses the run; the test typed there is the one the
// report names and the power plot draws, on a 0 to 1 axis with the 0.8 line.
TEST(QVWindow, TheEffectTestOfEachDesignReachesItsReportAndThePowerPlot)
{
    TestStore store;
    std::unique_ptr<QVWindow> window = shownWindow(store);
    StudySubWindow* study = open(*window, PR);
    enterPairedRelease(study, *window);
    EffectPanel* effect = window->effectPanel();
    ASSERT_TRUE(effect->isEnabled());
    effect->nullValuesEdit->setText("St=abc");
    EXPECT_TRUE(effect->statusLabel->text().startsWith("Cannot read the null value \"St=abc\""));
    {
        ModalBoxAnswerer boxes;
        runAnalysis(*window);
        ASSERT_EQ(boxes.seen.size(), 1);
        EXPECT_TRUE(boxes.seen[0].contains("The test of the effect cannot be made"));
        EXPECT_EQ(study->resultCount(), 0);
    }

    effect->nullValuesEdit->setText("St=0.9");
    effect->alphaEdit->setText("0.1");
    effect->sidedCombo->setCurrentIndex(1);
    EXPECT_EQ(effect->statusLabel->text(), "Power of St against 0.9.");
    runAnalysis(*window);
    EXPECT_TRUE(window->textOutput()->toPlainText().contains(
        "Power: one-sided test at alpha = 0.1 of St against 0.9."));

    // At Rt = Rc = 1000 the one-sided power against 0.9 at St = 0.8 is
    // Φ(0.1/se − z(0.9)), z(0.9) = 1.2815516.
    QVPlotWidget* plot = window->plotWidget();
    plot->showMeasure(QVPlotWidget::Power);
    const QList<QwtPlotCurve*> curves = curvesOf(plot);
    ASSERT_EQ(curves.size(), 1);
    const PrecisionTable precision = study->precisionTable();
    const double se = std::sqrt(precision.variances(0, precision.names.indexOf("St")));
    EXPECT_NEAR(curves[0]->sample(0).y(), 0.5 * std::erfc(-(0.1 / se - 1.2815516) / std::sqrt(2.0)),
                1e-6);
    const QwtScaleDiv axis = plot->plot()->axisScaleDiv(QwtPlot::yLeft);
    EXPECT_EQ(axis.lowerBound(), 0.0);
    EXPECT_EQ(axis.upperBound(), 1.0);
    const QwtPlotItemList markers = plot->plot()->itemList(QwtPlotItem::Rtti_PlotMarker);
    ASSERT_EQ(markers.size(), 1);
    EXPECT_EQ(static_cast<QwtPlotMarker*>(markers[0])->yValue(), 0.8);
    ASSERT_TRUE(plot->showParameter("Sc"));
    EXPECT_TRUE(curvesOf(plot).isEmpty());
    EXPECT_EQ(plot->plot()->itemList(QwtPlotItem::Rtti_PlotTextLabel).size(), 1);
    plot->showMeasure(QVPlotWidget::HalfWidths);
    EXPECT_EQ(curvesOf(plot).size(), 2);

    // Another design keeps its own test: the defaults here.
    open(*window, BTPS);
    EXPECT_EQ(effect->nullValuesEdit->text(), "");
    EXPECT_EQ(effect->alphaEdit->text(), "0.05");
    EXPECT_EQ(effect->statusLabel->text(), "Power of T against 1.");
    open(*window, PR);
    EXPECT_EQ(effect->nullValuesEdit->text(), "St=0.9");
}

// Every field of every form is wide enough for a range of release sizes at
// the size its window first opens with, in a desktop's usual font (the test
// platform's own is 12 pt).
TEST(QVWindow, EveryFieldOfEveryFormHoldsARangeAtTheFormsFirstSize)
{
    const QFont platformFont = QApplication::font();
    QApplication::setFont(QFont("DejaVu Sans", 10));
    TestStore store;
    std::unique_ptr<QVWindow> window = shownWindow(store);
    window->resize(1400, 1000);
    QTest::qWait(0);
    for (int t : {SR, PR, TIRR, BTPS, VWP}) {
        StudySubWindow* study = open(*window, t);
        QTest::qWait(0);
        for (RangeLineEdit* field : study->findChildren<RangeLineEdit*>()) {
            if (!field->isVisible())
                continue;
            const int needed = field->fontMetrics().horizontalAdvance("5000:50000") + 10;
            EXPECT_GE(field->width(), needed)
                << study->title().toStdString() << " " << field->objectName().toStdString();
            // and in view, not behind the window's edge.
            if (!qobject_cast<ReleaseRecaptureSubWindow*>(study)) {
                const QRect shown(field->mapTo(study, QPoint(0, 0)), field->size());
                EXPECT_TRUE(study->rect().contains(shown))
                    << study->title().toStdString() << " " << field->objectName().toStdString();
            }
        }
    }
    QApplication::setFont(platformFont);
}
