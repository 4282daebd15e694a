#include "FunctionRunnable.h"

#include "framework/navigation/NavPanelItem.h"
#include "framework/navigation/NavPanelModel.h"
#include "framework/navigation/NavPanelView.h"
#include "framework/run/ThreadRunner.h"
#include "framework/settings/RynSettings.h"
#include "framework/window/RynMainWindow.h"

#include "ModalBoxAnswerer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <atomic>

using quorvel::test::FunctionRunnable;
using quorvel::test::pollUntilCanceled;
using quorvel::test::waitUntil;
using ryn::NavPanelItem;
using ryn::RynMainWindow;

using quorvel::test::ModalBoxAnswerer;

namespace {

QStringList textsOf(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QString() : action->text());
    return texts;
}

QStringList menuTexts(const RynMainWindow& window, int key)
{
    return textsOf(window.menu(key)->actions());
}

// The last line written to the output dock and its character format.
QTextBlock lastOutputLine(const RynMainWindow& window)
{
    const QTextDocument* doc = window.outputDock()->textEdit()->document();
    return doc->lastBlock().previous();
}

// Places an "updater.exe" in a folder for the length of a test. The stand-in
// only notes the arguments it was started with in updater.log beside itself.
class FakeUpdater
{
public:
    explicit FakeUpdater(const QString& folder)
        : dir(folder)
    {
        QFile script(dir.filePath("updater.exe"));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/updater.log\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~FakeUpdater()
    {
        QFile::remove(dir.filePath("updater.exe"));
        QFile::remove(dir.filePath("updater.log"));
    }
    FakeUpdater(const FakeUpdater&) = delete;
    FakeUpdater& operator=(const FakeUpdater&) = delete;

    QString log() const
    {
        QFile file(dir.filePath("updater.log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QDir dir;
};

} // namespace

// A receiver for the slots that navigation entries are connected to.
class Counter : public QObject
{
    Q_OBJECT

public:
    int hits = 0;

public slots:
    void hit() { ++hits; }
};

TEST(RynMainWindow, FrameHasItsMenusAndDocks)
{
    RynMainWindow window(nullptr, "Quorvel");
    EXPECT_EQ(window.windowTitle(), "Quorvel");
    EXPECT_EQ(textsOf(window.menuBar()->actions()),
              QStringList({"&File", "&View", "&Window", "&Help"}));
    EXPECT_EQ(menuTexts(window, RynMainWindow::FileMenu),
              QStringList({"Save", "Save as", "Print preview", "Print", "", "Exit"}));
    EXPECT_EQ(menuTexts(window, RynMainWindow::WindowMenu),
              QStringList({"Tile Windows", "Cascade Windows", "Close All"}));
    EXPECT_EQ(menuTexts(window, RynMainWindow::ViewMenu),
              QStringList({"Navigation Panel", "Output"}));
    EXPECT_EQ(window.dockWidgetArea(window.dock(RynMainWindow::NavigationDockId)),
              Qt::LeftDockWidgetArea);
    EXPECT_EQ(window.dockWidgetArea(window.outputDock()), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(window.navRoot()->activatable || window.navRoot()->isEnabled());
}

TEST(RynMainWindow, MenusAndActionsAreRegisteredByKeyAndPlacedAtAnchors)
{
    RynMainWindow window(nullptr, "Quorvel");
    QMenu* edit = window.addMenu(RynMainWindow::EditMenu, "Edit", RynMainWindow::ViewMenu);
    EXPECT_EQ(textsOf(window.menuBar()->actions()),
              QStringList({"&File", "Edit", "&View", "&Window", "&Help"}));
    EXPECT_EQ(window.addMenuAction(42, 43, "Nowhere"), nullptr);

    QMenu* file = window.menu(RynMainWindow::FileMenu);
    window.insertMenuAction(file, new QAction("Run analysis", &window));
    window.insertMenuAction(file, new QAction("Second", &window));
    EXPECT_EQ(menuTexts(window, RynMainWindow::FileMenu),
              QStringList({"Run analysis", "Second", "", "Save", "Save as", "Print preview",
                           "Print", "", "Exit"}));

    QMenu* windows = window.menu(RynMainWindow::WindowMenu);
    window.insertMenuAction(windows, new QAction("Single Release", &window));
    window.insertMenuAction(windows, new QAction("Paired Release", &window));
    EXPECT_EQ(menuTexts(window, RynMainWindow::WindowMenu),
              QStringList({"Tile Windows", "Cascade Windows", "Close All", "Single Release",
                           "Paired Release", ""}));

    window.insertMenuAction(window.menu(RynMainWindow::HelpMenu), new QAction("Extra", &window));
    EXPECT_EQ(menuTexts(window, RynMainWindow::HelpMenu), QStringList({"Extra", "", "About"}));
    window.insertMenuAction(edit, new QAction("Reset Window Geometry", &window));
    EXPECT_EQ(textsOf(edit->actions()), QStringList({"Reset Window Geometry"}));
}

TEST(RynMainWindow, NavigationEntriesTriggerOnDoubleClickOnlyWhenActivatable)
{
    RynMainWindow window(nullptr, "Quorvel");
    Counter counter;
    NavPanelItem* category = window.addNavItem(NavPanelItem::CategoryItem, "Study Design Types");
    NavPanelItem* single =
        window.addNavItem(NavPanelItem::StudyItem, "Single Release", category,
                          window.menu(RynMainWindow::WindowMenu), &counter, SLOT(hit()));
    NavPanelItem* paired = window.addNavItem(NavPanelItem::StudyItem, "Paired Release", category,
                                             nullptr, &counter, SLOT(hit()));

    EXPECT_FALSE(category->activatable || category->isEnabled());
    EXPECT_TRUE(window.menu(RynMainWindow::WindowMenu)->actions().contains(single));
    EXPECT_FALSE(window.menu(RynMainWindow::WindowMenu)->actions().contains(paired));

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.navView()->expandAll();
    auto doubleClick = [&window](NavPanelItem* item) {
        const QRect rect = window.navView()->visualRect(window.navModel()->indexOf(item));
        // A real double click: press and release, then the double-click event.
        QWidget* viewport = window.navView()->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, rect.center());
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, rect.center());
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, rect.center());
    };

    doubleClick(single);
    EXPECT_EQ(counter.hits, 1);
    // The tree does not fold on a double click.
    EXPECT_TRUE(window.navView()->isExpanded(window.navModel()->indexOf(category)));

    paired->setEnabled(false);
    doubleClick(paired);
    EXPECT_EQ(counter.hits, 1);

    paired->setEnabled(true);
    paired->activatable = false;
    doubleClick(paired);
    EXPECT_EQ(counter.hits, 1);
    paired->activatable = true;
    doubleClick(paired);
    EXPECT_EQ(counter.hits, 2);

    // Headings are never triggered.
    doubleClick(category);
    EXPECT_EQ(counter.hits, 2);
}

TEST(RynMainWindow, SubWindowsAreKeyedAndActivationRemembersTheKey)
{
    RynMainWindow window(nullptr, "Quorvel");
    auto* text = new QTextEdit;
    window.addSubWindow(200, text);
    window.addSubWindow(200, new QTextEdit(&window)); // key taken: ignored
    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(window.subWindow(200), text);
    QMdiSubWindow* textWindow = window.mdiArea()->subWindowList().first();
    EXPECT_EQ(window.subWindowId(textWindow), 200);

    auto* plotWindow = new QMdiSubWindow;
    plotWindow->setWidget(new QTextEdit);
    window.addSubWindow(201, plotWindow);
    QMdiSubWindow* stranger = window.mdiArea()->addSubWindow(new QTextEdit);
    EXPECT_EQ(window.subWindowId(stranger), -1);

    window.onSubWindowActivated(textWindow);
    EXPECT_EQ(window.activeSubWindowKey(), 200);
    window.onSubWindowActivated(nullptr);
    EXPECT_EQ(window.activeSubWindowKey(), 200);
    window.onSubWindowActivated(stranger);
    EXPECT_EQ(window.activeSubWindowKey(), -1);

    // Activation in the MDI area reaches the slot.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.mdiArea()->setActiveSubWindow(plotWindow);
    EXPECT_EQ(window.activeSubWindowKey(), 201);

    // A sub-window closed in the MDI area deletes itself; its key is free again.
    textWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.subWindow(200), nullptr);
    auto* again = new QTextEdit;
    window.addSubWindow(200, again);
    EXPECT_EQ(window.subWindow(200), again);
}

TEST(RynMainWindow, ProgressDialogStaysHiddenUntilARunShowsIt)
{
    RynMainWindow window(nullptr, "Quorvel");
    window.show();
    QProgressDialog* progress = window.progressDialog();
    // Longer than the 4 s after which an untouched dialog would show itself.
    QTest::qWait(4500);
    EXPECT_FALSE(progress->isVisible());

    window.onRunBusy();
    window.setRunProgress(30);
    EXPECT_EQ(progress->maximum(), 100);
    EXPECT_EQ(progress->value(), 30);

    // Cancel on the dialog reaches the runner; the end of a run closes it.
    progress->show();
    QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_TRUE(window.threadRunner()->isCanceled());
    progress->show();
    window.onRunTerminated();
    EXPECT_FALSE(progress->isVisible());
}

TEST(RynMainWindow, RunnerSignalsReachOutputProgressAndMessageBox)
{
    RynMainWindow window(nullptr, "Quorvel");
    window.show();
    ModalBoxAnswerer closer;
    ryn::ThreadRunner* runner = window.threadRunner();
    FunctionRunnable work(runner, [](FunctionRunnable& self) {
        self.progressStatus("point 2");
        self.warning("odd value");
        self.error("Singular hessian: step = 2");
        self.setCanceled(true);
    });
    runner->setRunnable(&work);
    window.progressDialog()->show();
    runner->start();

    ASSERT_TRUE(
        waitUntil([&] { return runner->isFinished() && !window.progressDialog()->isVisible(); }));
    ASSERT_TRUE(waitUntil([&] { return !closer.seen.isEmpty(); }));
    EXPECT_EQ(closer.seen, QStringList({"Quorvel|Singular hessian: step = 2|critical"}));
    EXPECT_EQ(window.progressDialog()->labelText(), "point 2");

    const QTextDocument* doc = window.outputDock()->textEdit()->document();
    EXPECT_EQ(doc->findBlockByNumber(0).text(), "point 2");
    EXPECT_TRUE(doc->findBlockByNumber(1).begin().fragment().charFormat().fontItalic());
    const QTextBlock error = lastOutputLine(window);
    EXPECT_EQ(error.text(), "Singular hessian: step = 2");
    EXPECT_EQ(error.begin().fragment().charFormat().foreground().color(), QColor(Qt::red));
}

TEST(RynMainWindow, QuittingDuringARunAsksAndYesCancelsTheRunBeforeQuitting)
{
    RynMainWindow window(nullptr, "Quorvel");
    window.show();
    std::atomic<bool> started{false};
    std::atomic<bool> sawCancel{false};
    FunctionRunnable work(window.threadRunner(), [&](FunctionRunnable& self) {
        started = true;
        for (int i = 0; i < 10000 && !self.isCanceled(); ++i)
            QThread::msleep(1);
        sawCancel = self.isCanceled();
    });
    window.threadRunner()->setRunnable(&work);
    window.threadRunner()->start();
    ASSERT_TRUE(waitUntil([&started] { return started.load(); }));

    {
        ModalBoxAnswerer no(QMessageBox::No);
        EXPECT_FALSE(window.close());
        EXPECT_EQ(no.seen, QStringList{"Quorvel|A run is in progress. Cancel it and quit?"});
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.threadRunner()->isRunning());

    ModalBoxAnswerer yes(QMessageBox::Yes);
    EXPECT_TRUE(window.close());
    EXPECT_EQ(yes.seen.size(), 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.threadRunner()->isRunning());
    EXPECT_TRUE(sawCancel);
}

TEST(RynMainWindow, DestroyingTheWindowCancelsAndAwaitsARun)
{
    std::atomic<bool> started{false};
    std::atomic<bool> sawCancel{false};
    auto* window = new RynMainWindow(nullptr, "Quorvel");
    FunctionRunnable work(window->threadRunner(), [&](FunctionRunnable& self) {
        started = true;
        for (int i = 0; i < 10000 && !self.isCanceled(); ++i)
            QThread::msleep(1);
        sawCancel = self.isCanceled();
    });
    window->threadRunner()->setRunnable(&work);
    window->threadRunner()->start();
    ASSERT_TRUE(waitUntil([&started] { return started.load(); }));
    delete window;
    EXPECT_TRUE(sawCancel);
}

// The window's cancels reach a run that has only just been started: the
// progress dialog's Cancel ends it, and so does destroying the window, which
// then does not wait out the work.
TEST(RynMainWindow, CancelRightAfterAStartEndsTheRun)
{
    std::atomic<bool> ranToEnd{false};
    {
        RynMainWindow window(nullptr, "Quorvel");
        window.show();
        ryn::ThreadRunner* runner = window.threadRunner();
        QSignalSpy canceled(runner, &ryn::ThreadRunner::runCanceled);
        FunctionRunnable work(runner, pollUntilCanceled(ranToEnd));
        runner->setRunnable(&work);
        for (int trial = 0; trial < 10; ++trial) {
            window.progressDialog()->show();
            runner->start();
            QTest::mouseClick(window.progressDialog()->findChild<QPushButton*>(), Qt::LeftButton);
            ASSERT_TRUE(runner->wait(10000));
            EXPECT_FALSE(ranToEnd) << "trial " << trial;
            ASSERT_TRUE(waitUntil([&] { return canceled.count() == trial + 1; }));
        }
    }

    for (int trial = 0; trial < 5; ++trial) {
        auto* window = new RynMainWindow(nullptr, "Quorvel");
        FunctionRunnable work(window->threadRunner(), pollUntilCanceled(ranToEnd));
        window->threadRunner()->setRunnable(&work);
        window->threadRunner()->start();
        delete window;
        EXPECT_FALSE(ranToEnd) << "trial " << trial;
    }
}

TEST(RynMainWindow, ClosingStoresGeometriesThatTheNextWindowRestores)
{
    QSettings().clear();
    ryn::RynSettings settings;
    const int windowGeom = 81, singleGeom = 11, pairedGeom = 12;
    settings.registerKey(windowGeom, "window_geom", QVariant());
    settings.registerKey(singleGeom, "geom_single_release", QVariant());
    settings.registerKey(pairedGeom, "geom_paired_release", QVariant());
    auto addStudyWindows = [&](RynMainWindow& window) {
        window.setSettings(&settings, windowGeom);
        window.setSubWindowGeometryKey(singleGeom, 1);
        window.setSubWindowGeometryKey(pairedGeom, 2);
        for (int key : {1, 2}) {
            auto* study = new QMdiSubWindow;
            study->setWidget(new QTextEdit);
            window.addSubWindow(key, study);
        }
    };
    {
        RynMainWindow window(nullptr, "Quorvel");
        addStudyWindows(window);
        window.resize(900, 650);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.subWindow(1)->setGeometry(10, 20, 300, 200);
        window.subWindow(1)->show();
        window.subWindow(2)->setGeometry(30, 40, 350, 250);
        window.subWindow(2)->showMaximized();
        EXPECT_TRUE(window.close());
        EXPECT_FALSE(window.subWindow(2)->isMaximized());
    }

    RynMainWindow next(nullptr, "Quorvel");
    addStudyWindows(next);
    next.resize(400, 300);
    next.restoreWindowGeometry();
    EXPECT_EQ(next.size(), QSize(900, 650));
    next.restoreSubWindowGeometry(1);
    EXPECT_EQ(next.subWindow(1)->geometry(), QRect(10, 20, 300, 200));
    next.restoreSubWindowGeometry(2);
    EXPECT_EQ(next.subWindow(2)->geometry(), QRect(30, 40, 350, 250));

    // Unreadable or missing values leave the geometry as it is.
    settings.setValue(windowGeom, QByteArray("not a geometry"));
    next.resize(500, 400);
    next.restoreWindowGeometry();
    EXPECT_EQ(next.size(), QSize(500, 400));
    settings.proxyFor(singleGeom).remove("geom_single_release");
    next.subWindow(1)->setGeometry(5, 5, 200, 100);
    next.restoreSubWindowGeometry(1);
    EXPECT_EQ(next.subWindow(1)->geometry(), QRect(5, 5, 200, 100));
}

TEST(RynMainWindow, HelpHoldsOnlyAboutWithoutUpdaterBesideTheProgram)
{
    // An updater in the working directory is not ours and must be ignored.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    FakeUpdater stranger(elsewhere.path());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    {
        RynMainWindow window(nullptr, "Quorvel");
        EXPECT_FALSE(window.isUpdaterPresent());
        EXPECT_EQ(menuTexts(window, RynMainWindow::HelpMenu), QStringList({"About"}));
        EXPECT_EQ(window.updaterProcess(), nullptr);
    }
    QDir::setCurrent(previous);
    EXPECT_TRUE(stranger.log().isEmpty());
}

TEST(RynMainWindow, UpdaterBesideTheProgramIsOfferedAndStartedByItsPath)
{
    FakeUpdater updater(QCoreApplication::applicationDirPath());
    RynMainWindow window(nullptr, "Quorvel");
    ASSERT_TRUE(window.isUpdaterPresent());
    EXPECT_EQ(menuTexts(window, RynMainWindow::HelpMenu),
              QStringList({"Check for updates", "", "About"}));
    EXPECT_EQ(window.updaterPath(),
              QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("updater.exe"));

    QProcess* process = window.updaterProcess();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->program(), window.updaterPath());
    ASSERT_TRUE(process->waitForFinished(10000));
    EXPECT_EQ(process->exitCode(), 0);
    EXPECT_EQ(updater.log(), "/silent\n");

    window.menu(RynMainWindow::HelpMenu)->actions().first()->trigger();
    ASSERT_TRUE(process->waitForFinished(10000));
    EXPECT_EQ(updater.log(), "/silent\n/checknow\n");
}

namespace {

// A frame whose document area is about 900 × 500 pixels, with n plain
// sub-windows of no minimum of their own.
struct TiledFrame
{
    explicit TiledFrame(int n)
    {
        for (int i = 0; i < n; ++i)
            window.addSubWindow(300 + i, new QTextEdit);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.resize(window.size() + QSize(900, 500) - area()->viewport()->size());
        QTest::qWait(0);
    }

    QMdiArea* area() const { return window.mdiArea(); }
    QMdiSubWindow* sub(int i) const
    {
        return static_cast<QMdiSubWindow*>(window.subWindow(300 + i)->parentWidget());
    }

    RynMainWindow window{nullptr, "Quorvel"};
};

} // namespace

// Four windows that each need 320 × 200 fit 2 × 2 in a 900 × 500 area, not
// in one row (225 wide) nor one column (125 high); a window shown while they
// are tiled takes its place in the grid; one moved by hand ends the tiling.
TEST(RynMainWindow, TileGivesEachWindowItsRoomAndAWindowShownJoinsTheGrid)
{
    TiledFrame frame(5);
    const QRect inside = frame.area()->viewport()->rect();
    ASSERT_EQ(inside.size(), QSize(900, 500));
    EXPECT_EQ(RynMainWindow::tileSizeOf(frame.sub(0)), QSize(320, 200));
    frame.sub(4)->hide();
    frame.window.tileSubWindows();
    EXPECT_TRUE(frame.window.isTiled());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(frame.sub(i)->geometry(), QRect(450 * (i % 2), 250 * (i / 2), 450, 250)) << i;

    // A fifth window shown finds no grid for five (three columns of 300 are
    // too narrow, three rows of 166 too low): the four stay tiled, and it
    // is kept inside the area.
    frame.sub(4)->show();
    QTest::qWait(0);
    EXPECT_TRUE(frame.window.isTiled());
    EXPECT_EQ(frame.sub(3)->geometry(), QRect(450, 250, 450, 250));
    EXPECT_TRUE(inside.contains(frame.sub(4)->geometry()));

    // Tile with five cascades them, each at a usable size inside the area.
    frame.window.tileSubWindows();
    EXPECT_FALSE(frame.window.isTiled());
    QPoint last(-1, -1);
    for (int i = 0; i < 5; ++i) {
        const QRect placed = frame.sub(i)->geometry();
        EXPECT_TRUE(inside.contains(placed)) << i;
        EXPECT_GE(placed.width(), 320) << i;
        EXPECT_GE(placed.height(), 200) << i;
        EXPECT_GT(placed.topLeft().y(), last.y()) << i;
        last = placed.topLeft();
    }

    // Three tiled in a row of 300 are too narrow: two columns, two rows.
    frame.sub(3)->hide();
    frame.sub(4)->hide();
    frame.window.tileSubWindows();
    EXPECT_EQ(frame.sub(2)->geometry(), QRect(0, 250, 450, 250));
    frame.sub(3)->show();
    QTest::qWait(0);
    EXPECT_EQ(frame.sub(3)->geometry(), QRect(450, 250, 450, 250));
    EXPECT_TRUE(frame.window.isTiled());
    frame.sub(0)->move(20, 20);
    EXPECT_FALSE(frame.window.isTiled());
    frame.window.cascadeSubWindows();
    EXPECT_FALSE(frame.window.isTiled());
}

// A window shown where part of it lies outside the document area (placed
// there by the area, or by a geometry stored on a larger screen) is moved
// in, and shrunk to the area where it is larger.
TEST(RynMainWindow, AWindowShownIsKeptInsideTheDocumentArea)
{
    TiledFrame frame(2);
    const QRect inside = frame.area()->viewport()->rect();
    frame.sub(1)->hide();
    frame.sub(1)->setGeometry(700, 400, 400, 300);
    frame.sub(1)->show();
    QTest::qWait(0);
    EXPECT_EQ(frame.sub(1)->geometry(), QRect(500, 200, 400, 300));
    frame.sub(0)->hide();
    frame.sub(0)->setGeometry(100, 50, 1200, 900);
    frame.sub(0)->show();
    QTest::qWait(0);
    EXPECT_EQ(frame.sub(0)->geometry(), inside);
}

#include "RynMainWindowTest.moc"
