#include "studies/planning/window/PlanDialog.h"

#include "TestStore.h"
#include "app/QVWindow.h"
#include "studies/btps/BTPSSubWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

using namespace quorvel::test;

// The balloon-tag inputs of the calculator's example: Sc 0.8, St 0.72 (T 0.9),
// Pa 0.5. By Var(T) = a/Rc + b/Rt an SE of 0.03 needs 5890 fish at the best
// split, Rc 2820 and Rt 3070 (see SolveCommandTest).
TEST(PlanDialog, SolvesTheSplitShowsAndLogsItAndWritesItIntoTheFormWithOneUndo)
{
    TestStore store;
    storeBalloonTagExample(store);
    store->setValue(QVSettingsKeys::BtpsLinkReleases, true);
    BTPSSubWindow window(store.get());
    PlanDialog dialog(&window);
    QSignalSpy written(&dialog, &PlanDialog::planWritten);

    EXPECT_EQ(dialog.quantityBox()->currentText(), "T");
    dialog.solveBox()->setCurrentIndex(dialog.solveBox()->findData("split"));
    EXPECT_TRUE(dialog.totalEdit()->isEnabled());
    dialog.targetEdit()->setText("0.03");
    dialog.totalEdit()->setText("3000");
    QTest::mouseClick(dialog.solveButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isSolving(), 10000);
    ASSERT_EQ(dialog.plan().rows.size(), 1) << dialog.messageLabel()->text().toStdString();
    EXPECT_EQ(dialog.plan().rows[0].answer, "5890 fish: Rc = 2820, Rt = 3070");
    EXPECT_EQ(written.count(), 1);
    EXPECT_TRUE(dialog.answerView()->toPlainText().contains("Rc = 1436, Rt = 1564"));

    QTest::mouseClick(dialog.useButton(), Qt::LeftButton);
    Design shown = window.design();
    EXPECT_FALSE(shown.inputs.switches.value("linkReleases"));
    EXPECT_EQ(shown.inputs.field("Rc").text, "2820");
    EXPECT_EQ(shown.inputs.field("Rt").text, "3070");
    ASSERT_TRUE(dialog.undoButton()->isEnabled());
    QTest::mouseClick(dialog.undoButton(), Qt::LeftButton);
    shown = window.design();
    EXPECT_TRUE(shown.inputs.switches.value("linkReleases"));
    EXPECT_EQ(shown.inputs.field("Rc").text, "1000");
    EXPECT_FALSE(dialog.undoButton()->isEnabled());

    // With the groups linked the release size counts both, and "Use this"
    // shows the follower's new value in its greyed field at once.
    dialog.solveBox()->setCurrentIndex(dialog.solveBox()->findData("release"));
    QTest::mouseClick(dialog.solveButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isSolving(), 10000);
    ASSERT_EQ(dialog.plan().rows.size(), 1) << dialog.messageLabel()->text().toStdString();
    const QString answer = dialog.plan().rows[0].answer;
    QTest::mouseClick(dialog.useButton(), Qt::LeftButton);
    shown = window.design();
    const QString rc = shown.inputs.field("Rc").text;
    EXPECT_EQ(answer,
              QStringLiteral("%1 fish: Rc = %2, Rt = %2 (linked)").arg(2 * rc.toInt()).arg(rc));
    EXPECT_NE(rc, "1000");
    EXPECT_FALSE(shown.inputs.field("Rt").enabled);
    EXPECT_EQ(shown.inputs.field("Rt").text, rc);
    QTest::mouseClick(dialog.undoButton(), Qt::LeftButton);

    // A bad target is named in the dialog and plans nothing.
    dialog.targetEdit()->setText("0");
    QTest::mouseClick(dialog.solveButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isSolving(), 10000);
    EXPECT_EQ(dialog.messageLabel()->text(),
              "The target SE of T must be a number above 0: 0 was asked");
    EXPECT_EQ(written.count(), 2);
}

TEST(PlanDialog, MainWindowOffersPlanningForEveryActiveDesign)
{
    TestStore store;
    QVWindow main(store.get());
    QAction* plan = main.action(QVWindow::PlanAction);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->text(), "Plan to a target…");
    for (int type :
         {StudySubWindow::SingleReleaseStudy, StudySubWindow::PairedReleaseStudy,
          StudySubWindow::TIRRStudy, StudySubWindow::BTPSStudy, StudySubWindow::VWPStudy}) {
        main.studyWindow(type)->showStudy();
        main.activateStudy(type);
        main.updateNav();
        EXPECT_TRUE(plan->isEnabled()) << type;
    }
}
