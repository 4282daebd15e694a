#include "app/SimulationDialog.h"
#include "app/FileCommands.h"
#include "app/QVWindow.h"
#include "framework/window/WindowDialogs.h"

#include "FileContent.h"
#include "ModalBoxAnswerer.h"
#include "ScreenCheck.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "framework/navigation/NavPanelItem.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "plot/SimulationHistogram.h"
#include "studies/common/StudySubWindow.h"
#include "studies/design/DesignFile.h"
#include "studies/simulation/DesignSimulation.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <qwt_text.h>

#include <cmath>

using namespace quorvel::test;

namespace {

// Two reaches of a single release, R0 from 1000 to 5000 in steps of 100.
const char* const rangedSingleRelease = R"({"design": "single", "reaches": 3, "inputs": {
    "R0": "1000:5000", "S1": "0.85", "P1": "0.6", "D1": "0.2", "R1": "0", "S2": "0.9",
    "P2": "0.7", "D2": "0", "R2": "0", "Lambda": "0.55"}})";

// Saves to the path the test sets, as HTML, and prints to a PDF file.
class SavingDialogs : public ryn::WindowDialogs
{
public:
    QString savePath;
    QString pdfPath;

    QString saveFileName(QWidget*, const QString&, const QString&, const QStringList& filters,
                         QString* chosenFilter) override
    {
        *chosenFilter = filters.filter(QStringLiteral("*.html")).value(0);
        return savePath;
    }
    bool acceptPrint(QPrinter* printer, QWidget*, const QString&, bool) override
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        return true;
    }
};

} // namespace

// The action checks the active design in a dialog: the chosen point, number of
// data sets and seed, the report and the chosen quantity's histogram; a
// cancelled check leaves the last one shown, and a seed the generator cannot
// take is refused.
TEST(SimulationDialog, ChecksTheActiveDesignAtTheChosenPoint)
{
    TestStore store;
    QVWindow window(store.get());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.checkBySimulationItem()->isEnabled());
    window.studyItem(StudySubWindow::SingleReleaseStudy)->trigger();
    Design design;
    QString error;
    ASSERT_TRUE(DesignFile::read(rangedSingleRelease, &design, &error)) << error.toStdString();
    ASSERT_TRUE(window.activeStudyWindow()->loadDesign(design));
    ASSERT_TRUE(window.checkBySimulationItem()->isEnabled());

    window.checkBySimulationItem()->trigger();
    auto* dialog = window.findChild<SimulationDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    expectInsideTheScreen(dialog);
    EXPECT_EQ(dialog->pointCombo->count(), 40);
    EXPECT_EQ(dialog->pointCombo->itemText(2), QStringLiteral("R0 = 1200"));
    EXPECT_EQ(dialog->quantityCombo->count(), 5);
    EXPECT_FALSE(dialog->seedEdit->text().isEmpty());

    dialog->dataSetsSpin->setValue(200);
    dialog->seedEdit->setText(QStringLiteral("77"));
    dialog->pointCombo->setCurrentIndex(2);
    // A check long enough for its progress dialog to come up: the dialog goes
    // when the check ends.
    QSignalSpy firstEnded(dialog, &SimulationDialog::checkEnded);
    dialog->simulate();
    dialog->progressDialog()->show();
    ASSERT_TRUE(firstEnded.wait(60000));
    EXPECT_FALSE(dialog->progressDialog()->isVisible());
    const SimulationCheck* check = dialog->lastCheck();
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->seed, 77u);
    EXPECT_EQ(check->summary.dataSetCount, 200);
    EXPECT_REL_NEAR(check->x, 1200.0, 1e-15);
    const QString report = dialog->reportView->toPlainText();
    EXPECT_TRUE(report.contains(QStringLiteral("Single Release Simulation Check Results")));
    EXPECT_TRUE(report.contains(QStringLiteral("R0 = 1200")));
    EXPECT_TRUE(report.contains(check->verdicts[0]));
    EXPECT_TRUE(report.contains(QStringLiteral("No quantity of this design has a null value")));
    EXPECT_GT(dialog->histogram->binCount(), 0);
    EXPECT_GT(dialog->histogram->highestCount(), 0.0);

    dialog->quantityCombo->setCurrentIndex(3);
    EXPECT_EQ(dialog->histogram->title().text(),
              QStringLiteral("Estimates of ") + check->quantities[3]);

    dialog->dataSetsSpin->setValue(1000000);
    QSignalSpy ended(dialog, &SimulationDialog::checkEnded);
    QTest::mouseClick(dialog->simulateButton, Qt::LeftButton);
    EXPECT_TRUE(dialog->isRunning());
    EXPECT_FALSE(dialog->simulateButton->isEnabled());
    dialog->progressDialog()->findChild<QPushButton*>()->click();
    ASSERT_TRUE(ended.wait(20000));
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_EQ(dialog->lastCheck(), check);

    ModalBoxAnswerer answerer;
    dialog->seedEdit->setText(QStringLiteral("99999999999999999999"));
    dialog->simulate();
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_EQ(answerer.seen.size(), 1);
    EXPECT_TRUE(answerer.seen.value(0).contains(QStringLiteral("Seed must be a whole number")));
}

// The balloon-tag example (Rc = Rt = 1000, Sc 0.8, T 0.9, Pa 0.5) tests T
// against 1 by default: the report's power table gives the Wald power at
// Var(T) = a/Rc + b/Rt, a = T²(1 − Pa·Sc)/(Sc·Pa), b = T(1 − T·Sc·Pa)/(Sc·Pa),
// beside the share of the fits that reject T = 1, over every fit tested,
// and the report saved and printed holds it.
TEST(SimulationDialog, SetsTheEmpiricalPowerBesideThePredictedOne)
{
    TestStore store;
    QVWindow window(store.get());
    QTemporaryDir folder;
    auto owned = std::make_unique<SavingDialogs>();
    SavingDialogs* dialogs = owned.get();
    dialogs->savePath = folder.filePath(QStringLiteral("check"));
    dialogs->pdfPath = folder.filePath(QStringLiteral("printed.pdf"));
    window.fileCommands()->setDialogs(std::move(owned));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.studyItem(StudySubWindow::BTPSStudy)->trigger();
    Design design;
    QString error;
    ASSERT_TRUE(DesignFile::readFile(QStringLiteral(QUORVEL_SOURCE_DIR "/examples/btps.json"),
                                     &design, &error))
        << error.toStdString();
    ASSERT_TRUE(window.activeStudyWindow()->loadDesign(design));
    window.checkBySimulationItem()->trigger();
    auto* dialog = window.findChild<SimulationDialog*>();
    ASSERT_NE(dialog, nullptr);
    const auto button = [dialog](const QString& text) {
        for (QPushButton* candidate : dialog->buttonBox->findChildren<QPushButton*>())
            if (candidate->text() == text)
                return candidate;
        return static_cast<QPushButton*>(nullptr);
    };
    QPushButton* save = button(QStringLiteral("Save Report…"));
    QPushButton* print = button(QStringLiteral("Print…"));
    ASSERT_TRUE(save && print);
    EXPECT_FALSE(save->isEnabled()) << "nothing to save before a check";
    dialog->dataSetsSpin->setValue(400);
    QSignalSpy ended(dialog, &SimulationDialog::checkEnded);
    dialog->simulate();
    ASSERT_TRUE(ended.wait(60000));
    ASSERT_NE(dialog->lastCheck(), nullptr);

    const double t = 0.9, sc = 0.8, pa = 0.5;
    const double se = std::sqrt((t * t * (1 - pa * sc) + t * (1 - t * sc * pa)) / (sc * pa) / 1000);
    const double z = 1.959963984540054;
    const auto phi = [](double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); };
    const QString predicted = QString::number(phi(0.1 / se - z) + phi(-0.1 / se - z), 'f', 3);
    const QString report = dialog->reportView->toPlainText();
    const int table = report.indexOf(QStringLiteral("Power (two-sided test at alpha = 0.05):"));
    ASSERT_GT(table, 0);
    const QString power = report.mid(table);
    EXPECT_TRUE(power.contains(QStringLiteral("Empirical Power")));
    EXPECT_TRUE(power.contains(predicted)) << power.toStdString();
    EXPECT_TRUE(power.contains(QStringLiteral("400"))) << "every fit is tested";
    EXPECT_FALSE(power.contains(QStringLiteral("No quantity")));

    ASSERT_TRUE(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    const QByteArray saved = contentOf(folder.filePath(QStringLiteral("check.html")));
    EXPECT_TRUE(saved.contains("Empirical Power"));
    EXPECT_TRUE(saved.contains(predicted.toUtf8()));
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_TRUE(contentOf(dialogs->pdfPath).startsWith("%PDF-"));

    // A level the Effect Test panel cannot read gives no power, but says why.
    dialog->close();
    store.get()->setArrayValue(QVSettingsKeys::EffectAlpha, StudySubWindow::BTPSStudy, "x");
    window.checkBySimulationItem()->trigger();
    auto* refused = window.findChildren<SimulationDialog*>().last();
    ASSERT_NE(refused, dialog);
    refused->dataSetsSpin->setValue(10);
    QSignalSpy refusedEnded(refused, &SimulationDialog::checkEnded);
    refused->simulate();
    ASSERT_TRUE(refusedEnded.wait(60000));
    EXPECT_TRUE(refused->reportView->toPlainText().contains(
        QStringLiteral("The test of the effect cannot be made: The level alpha must be")));
}

// Closing the dialog during a check of two billion fish per group ends the
// check at once: each group's returns are one draw, not one per fish.
TEST(SimulationDialog, ClosingDuringACheckOfTwoBillionFishPerGroupEndsItAtOnce)
{
    TestStore store;
    QVWindow window(store.get());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.studyItem(StudySubWindow::BTPSStudy)->trigger();
    Design design;
    QString error;
    ASSERT_TRUE(DesignFile::read(R"({"design": "btps", "inputs": {"Rc": "2000000000",
        "Rt": "2000000000", "Sc": "0.8", "St": "0.72", "Pa": "0.5", "Pd": "0.3"}})",
                                 &design, &error))
        << error.toStdString();
    ASSERT_TRUE(window.activeStudyWindow()->loadDesign(design));
    window.checkBySimulationItem()->trigger();
    QPointer<SimulationDialog> dialog = window.findChild<SimulationDialog*>();
    ASSERT_FALSE(dialog.isNull());
    dialog->dataSetsSpin->setValue(dialog->dataSetsSpin->maximum());
    QTest::mouseClick(dialog->simulateButton, Qt::LeftButton);
    ASSERT_TRUE(dialog->isRunning());
    QTest::qWait(300);

    QElapsedTimer closing;
    closing.start();
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qint64 milliseconds = closing.elapsed();
    EXPECT_TRUE(dialog.isNull());
    RecordProperty("closeMilliseconds", static_cast<int>(milliseconds));
    // A guard against waiting for whole data sets (40 s each, drawn fish by
    // fish), far above the time it takes.
    EXPECT_LT(milliseconds, 5000);
}
