#include "framework/window/RynMainWindow.h"

#include "framework/navigation/NavPanelItem.h"
#include "framework/navigation/NavPanelModel.h"
#include "framework/navigation/NavPanelView.h"
#include "framework/run/ThreadRunner.h"
#include "framework/settings/RynSettings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QSignalMapper>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ryn {

RynMainWindow::RynMainWindow(QWidget* parent, const QString& name, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
    , navSignalMapper(new QSignalMapper(this))
    , name(name)
    , runner(std::make_unique<ThreadRunner>())
    , updaterName(QStringLiteral("updater.exe"))
{
    setObjectName(name);
    setWindowTitle(name);
    connect(navSignalMapper, &QSignalMapper::mappedInt, this,
            qOverload<int>(&RynMainWindow::onNavItemDoubleClicked));

    // Only the update program beside our own executable counts: one that
    // happens to lie in the working directory must never be started.
    updaterPresent = QFileInfo(updaterPath()).isFile();

    createMdiArea();
    createMenus();
    createNavigation();
    createOutputDock();
    createProgressDialog();
    connectRunner();

    if (updaterPresent)
        startUpdater({QStringLiteral("/silent")});
}

// A run still in progress is cancelled and awaited: a thread destroyed while
// it runs would take the program down with it. The MDI area announces
// activations while the base class closes its sub-windows, by which time this
// part of the window is gone, so it is cut off first.
RynMainWindow::~RynMainWindow()
{
    disconnect(mdi, nullptr, this, nullptr);
    if (runner->isRunning()) {
        runner->cancel();
        runner->wait();
    }
}

void RynMainWindow::createMdiArea()
{
    mdi = new QMdiArea(this);
    QLinearGradient gradient(0, 0, 0, 800);
    gradient.setColorAt(0, QColor(206, 206, 206));
    gradient.setColorAt(1, Qt::white);
    mdi->setBackground(QBrush(gradient));
    setCentralWidget(mdi);
    connect(mdi, &QMdiArea::subWindowActivated, this, &RynMainWindow::onSubWindowActivated);
}

void RynMainWindow::createMenus()
{
    addMenu(FileMenu, tr("&File"));
    connect(addMenuAction(FileMenu, SaveAction, tr("Save")), &QAction::triggered, this,
            &RynMainWindow::doActionSave);
    connect(addMenuAction(FileMenu, SaveAsAction, tr("Save as")), &QAction::triggered, this,
            &RynMainWindow::doActionSaveAs);
    connect(addMenuAction(FileMenu, PrintPreviewAction, tr("Print preview")), &QAction::triggered,
            this, &RynMainWindow::doActionPrintPreview);
    connect(addMenuAction(FileMenu, PrintAction, tr("Print")), &QAction::triggered, this,
            &RynMainWindow::doActionPrint);
    menus[FileMenu]->addSeparator();
    connect(addMenuAction(FileMenu, ExitAction, tr("Exit")), &QAction::triggered, this,
            &QWidget::close);

    addMenu(ViewMenu, tr("&View"));

    addMenu(WindowMenu, tr("&Window"));
    connect(addMenuAction(WindowMenu, TileAction, tr("Tile Windows")), &QAction::triggered, this,
            &RynMainWindow::tileSubWindows);
    connect(addMenuAction(WindowMenu, CascadeAction, tr("Cascade Windows")), &QAction::triggered,
            this, &RynMainWindow::cascadeSubWindows);
    connect(addMenuAction(WindowMenu, CloseAllAction, tr("Close All")), &QAction::triggered, mdi,
            &QMdiArea::closeAllSubWindows);

    addMenu(HelpMenu, tr("&Help"));
    connect(addMenuAction(HelpMenu, AboutAction, tr("About")), &QAction::triggered, this,
            &RynMainWindow::onHelpAbout);
    if (updaterPresent) {
        auto* checkForUpdates = new QAction(tr("Check for updates"), this);
        connect(checkForUpdates, &QAction::triggered, this, &RynMainWindow::onCheckForUpdates);
        insertMenuAction(menus[HelpMenu], checkForUpdates);
    }
}

void RynMainWindow::createNavigation()
{
    navigationModel = new NavPanelModel(this);
    navigationRoot = navigationModel->addItem(QStringLiteral("root"));
    navigationRoot->kind = NavPanelItem::RootItem;
    navigationRoot->setItemActivatable(false);

    navigationView = new NavPanelView(this);
    navigationView->setModel(navigationModel);
    navigationView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(navigationView, &QAbstractItemView::doubleClicked, this,
            qOverload<const QModelIndex&>(&RynMainWindow::onNavItemDoubleClicked));
    connect(navigationView, &QAbstractItemView::clicked, this, &RynMainWindow::onNavItemClicked);
    connect(navigationView, &QWidget::customContextMenuRequested, this,
            &RynMainWindow::onNavContextMenuRequested);

    auto* navigationDock = new QDockWidget(tr("Navigation Panel"), this);
    navigationDock->setObjectName(QStringLiteral("NavigationPanelDock"));
    navigationDock->setWidget(navigationView);
    addDock(NavigationDockId, Qt::LeftDockWidgetArea, navigationDock);
}

void RynMainWindow::createOutputDock()
{
    output = new OutputDockWidget(this);
    output->setObjectName(QStringLiteral("OutputDock"));
    addDock(OutputDockId, Qt::BottomDockWidgetArea, output);
}

// Qt 5 shows a progress dialog by itself a few seconds after it is made; the
// reset keeps it hidden until a run shows it.
void RynMainWindow::createProgressDialog()
{
    progress = new QProgressDialog(this);
    progress->setWindowTitle(name);
    progress->reset();
    connect(progress, &QProgressDialog::canceled, this, &RynMainWindow::onProgressCanceled);
}

// The runner lives on the GUI thread and emits from its worker thread, so
// these connections are queued and the slots run on the GUI thread.
void RynMainWindow::connectRunner()
{
    ThreadRunner* r = runner.get();
    connect(r, &ThreadRunner::runComplete, this, &RynMainWindow::onRunComplete);
    connect(r, &ThreadRunner::runCanceled, this, &RynMainWindow::onRunTerminated);
    connect(r, &ThreadRunner::percentComplete, this, &RynMainWindow::setRunProgress);
    connect(r, &ThreadRunner::progressStatus, this, &RynMainWindow::onRunProgressStatus);
    connect(r, &ThreadRunner::status, this, &RynMainWindow::onRunStatus);
    connect(r, &ThreadRunner::error, this, &RynMainWindow::onRunError);
    connect(r, &ThreadRunner::warning, this, &RynMainWindow::onRunWarning);
    connect(r, &ThreadRunner::busy, this, &RynMainWindow::onRunBusy);
}

QMenu* RynMainWindow::addMenu(int key, const QString& title, int beforeKey)
{
    QMenu* menu = nullptr;
    if (QMenu* before = menus.value(beforeKey)) {
        menu = new QMenu(title, menuBar());
        menuBar()->insertMenu(before->menuAction(), menu);
    } else {
        menu = menuBar()->addMenu(tr(title.toUtf8().constData()));
    }
    menus[key] = menu;
    return menu;
}

QAction* RynMainWindow::addMenuAction(int menuKey, int actionKey, const QString& text)
{
    QMenu* menu = menus.value(menuKey);
    if (!menu)
        return nullptr;
    QAction* action = menu->addAction(text);
    actions[actionKey] = action;
    return action;
}

void RynMainWindow::insertMenuAction(QMenu* menu, QAction* action)
{
    if (!menu || !action)
        return;
    QAction* anchor = nullptr;
    if (menu == menus.value(FileMenu)) {
        if (!fileAnchor)
            fileAnchor = menu->insertSeparator(actions.value(SaveAction));
        anchor = fileAnchor;
    } else if (menu == menus.value(HelpMenu)) {
        if (!helpAnchor)
            helpAnchor = menu->insertSeparator(actions.value(AboutAction));
        anchor = helpAnchor;
    } else if (menu == menus.value(WindowMenu)) {
        if (!windowAnchor)
            windowAnchor = menu->addSeparator();
        anchor = windowAnchor;
    }
    if (anchor)
        menu->insertAction(anchor, action);
    else
        menu->addAction(action);
}

NavPanelItem* RynMainWindow::addNavItem(int kind, const QString& text, NavPanelItem* parent,
                                        QMenu* menu, const QObject* receiver, const char* slot)
{
    NavPanelItem* item = navigationModel->addItem(text, parent ? parent : navigationRoot);
    item->kind = kind;
    if (menu)
        insertMenuAction(menu, item);
    if (receiver && slot)
        connect(item, SIGNAL(triggered()), receiver, slot);
    else
        item->setItemActivatable(false);
    return item;
}

void RynMainWindow::addDock(int key, Qt::DockWidgetArea area, QDockWidget* dock)
{
    if (!dock)
        return;
    docks[key] = dock;
    addDockWidget(area, dock);
    if (QMenu* view = menus.value(ViewMenu))
        view->addAction(dock->toggleViewAction());
}

void RynMainWindow::addSubWindow(int key, QWidget* widget)
{
    if (!widget || subWindows.value(key))
        return;
    mdi->addSubWindow(widget)->installEventFilter(this);
    subWindows[key] = widget;
}

// The area places a window when it is shown, and a stored geometry may be
// one of a larger screen: the window is checked once both are done.
bool RynMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QMdiSubWindow*>(watched);
    if (window && window->mdiArea() == mdi && event->type() == QEvent::Show) {
        QTimer::singleShot(0, window, [this, window] {
            if (!isTiled() || !arrangeInGrid())
                keepInsideArea(window);
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void RynMainWindow::keepInsideArea(QMdiSubWindow* window)
{
    const QRect area = mdi->viewport()->rect();
    if (area.isEmpty() || window->isHidden() || window->isMaximized() || window->isMinimized() ||
        area.contains(window->geometry()))
        return;
    placeInsideArea(window, window->pos(), window->size());
}

QWidget* RynMainWindow::subWindow(int key) const
{
    return subWindows.value(key);
}

// A registered widget is either the MDI sub-window itself or the widget that
// the MDI area wrapped in one.
int RynMainWindow::subWindowId(QMdiSubWindow* subWin) const
{
    if (!subWin)
        return -1;
    for (auto it = subWindows.cbegin(); it != subWindows.cend(); ++it) {
        const QWidget* widget = it.value();
        if (widget && (widget == subWin || widget == subWin->widget()))
            return it.key();
    }
    return -1;
}

void RynMainWindow::setSettings(RynSettings* settings, int geometryKey)
{
    this->settings = settings;
    this->geometryKey = geometryKey;
}

void RynMainWindow::setSubWindowGeometryKey(int settingsKey, int subWindowKey)
{
    geometryKeys[subWindowKey] = settingsKey;
}

void RynMainWindow::restoreWindowGeometry()
{
    if (!settings)
        return;
    const QVariant stored = settings->value(geometryKey);
    if (stored.isValid())
        restoreGeometry(stored.toByteArray());
}

void RynMainWindow::restoreSubWindowGeometry(int key)
{
    QWidget* widget = subWindows.value(key);
    if (!settings || !widget || !geometryKeys.contains(key))
        return;
    const QVariant stored = settings->value(geometryKeys.value(key));
    if (stored.isValid())
        widget->restoreGeometry(stored.toByteArray());
}

// A maximised sub-window is stored with its normal geometry. One that is
// hidden is only taken out of the maximised state, so that closing the
// program never brings a closed window back on screen.
void RynMainWindow::saveGeometries()
{
    if (!settings)
        return;
    settings->setValue(geometryKey, saveGeometry());
    for (auto it = geometryKeys.cbegin(); it != geometryKeys.cend(); ++it) {
        QWidget* widget = subWindows.value(it.key());
        if (!widget)
            continue;
        if (widget->isMaximized()) {
            if (widget->isVisible())
                widget->showNormal();
            else
                widget->setWindowState(widget->windowState() & ~Qt::WindowMaximized);
        }
        settings->setValue(it.value(), widget->saveGeometry());
    }
}

QString RynMainWindow::updaterPath() const
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(updaterName);
}

void RynMainWindow::startUpdater(const QStringList& arguments)
{
    if (!updater)
        updater = new QProcess(this);
    updater->start(updaterPath(), arguments, QIODevice::ReadWrite);
}

// Quitting during a run asks first; Yes cancels the run and waits for the
// worker to stop (between two points) before the window closes.
void RynMainWindow::closeEvent(QCloseEvent* event)
{
    saveGeometries();
    if (runner->isRunning()) {
        const QMessageBox::StandardButton answer =
            QMessageBox::question(this, name, tr("A run is in progress. Cancel it and quit?"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            event->ignore();
            return;
        }
        runner->cancel();
        runner->wait();
    }
    event->accept();
}

void RynMainWindow::onRunComplete()
{
    progress->hide();
}

void RynMainWindow::onRunTerminated()
{
    progress->reset();
    progress->close();
}

void RynMainWindow::onProgressCanceled()
{
    if (runner)
        runner->setCanceled(true);
}

void RynMainWindow::setRunProgress(int percentComplete)
{
    if (progress->maximum() != 100)
        progress->setMaximum(100);
    progress->setValue(percentComplete);
}

void RynMainWindow::onRunStatus(const QString msg)
{
    out(msg);
}

void RynMainWindow::onRunProgressStatus(const QString msg)
{
    progress->setLabelText(msg);
    out(msg);
}

void RynMainWindow::onRunError(const QString msg)
{
    QMessageBox::critical(this, name, msg, QMessageBox::Ok);
    err(msg);
}

void RynMainWindow::onRunWarning(const QString msg)
{
    warn(msg);
}

void RynMainWindow::onRunBusy()
{
    progress->setRange(0, 0);
}

void RynMainWindow::onSubWindowActivated(QMdiSubWindow* subWin)
{
    if (subWin)
        activeKey = subWindowId(subWin);
}

void RynMainWindow::onHelpAbout() {}

void RynMainWindow::doActionSave() {}

void RynMainWindow::doActionSaveAs() {}

void RynMainWindow::doActionPrint() {}

void RynMainWindow::doActionPrintPreview() {}

void RynMainWindow::out(QString msg)
{
    out(msg, OutputDockWidget::Normal);
}

void RynMainWindow::out(QString msg, OutputDockWidget::OutputType type)
{
    if (output)
        output->out(msg, type);
}

void RynMainWindow::heading(QString msg)
{
    out(msg, OutputDockWidget::Heading);
}

void RynMainWindow::err(QString msg)
{
    out(msg, OutputDockWidget::Error);
}

void RynMainWindow::warn(QString msg)
{
    out(msg, OutputDockWidget::Warning);
}

void RynMainWindow::updateNav()
{
    emit navigationModel->layoutChanged();
}

void RynMainWindow::onNavItemDoubleClicked(int) {}

void RynMainWindow::onNavItemDoubleClicked(const QModelIndex& index)
{
    NavPanelItem* item = navigationModel->itemAt(index);
    if (item && item->isEnabled() && item->activatable)
        item->trigger();
}

void RynMainWindow::onNavItemClicked(const QModelIndex&) {}

void RynMainWindow::onNavContextMenuRequested(const QPoint&) {}

// Each window one title bar below and right of the one before, all of the
// size that leaves the last inside the area, and none below its usable size
// (the area clamps the last windows where that is larger).
void RynMainWindow::cascadeSubWindows()
{
    tiles.clear();
    QList<QMdiSubWindow*> shown = shownSubWindows();
    const QRect area = mdi->viewport()->rect();
    if (shown.isEmpty() || area.isEmpty())
        return;
    // The active window comes last, in front.
    if (QMdiSubWindow* active = mdi->activeSubWindow(); shown.removeOne(active))
        shown.append(active);
    const int step = std::max(1, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const int offset = step * (static_cast<int>(shown.size()) - 1);
    const QSize common(std::max(area.width() - offset, area.width() * 2 / 3),
                       std::max(area.height() - offset, area.height() * 2 / 3));
    for (int i = 0; i < shown.size(); ++i) {
        QMdiSubWindow* window = shown[i];
        placeInsideArea(window, area.topLeft() + QPoint(i * step, i * step),
                        common.expandedTo(tileSizeOf(window)));
        window->raise();
    }
}

QSize RynMainWindow::tileSizeOf(const QWidget* window)
{
    return window->minimumSizeHint().expandedTo(QSize(320, 200));
}

QList<QMdiSubWindow*> RynMainWindow::shownSubWindows() const
{
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* window : mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isHidden() && !window->isMinimized())
            shown << window;
    }
    return shown;
}

void RynMainWindow::placeInsideArea(QMdiSubWindow* window, QPoint topLeft, QSize size) const
{
    const QRect area = mdi->viewport()->rect();
    if (window->isMaximized())
        window->showNormal();
    size = size.expandedTo(window->minimumSizeHint()).boundedTo(area.size());
    topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - size.width())));
    topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - size.height())));
    window->setGeometry(QRect(topLeft, size));
}

void RynMainWindow::tileSubWindows()
{
    if (!arrangeInGrid())
        cascadeSubWindows();
}

bool RynMainWindow::arrangeInGrid()
{
    const QList<QMdiSubWindow*> shown = shownSubWindows();
    const QRect area = mdi->viewport()->rect();
    if (shown.isEmpty() || area.isEmpty())
        return false;
    const int n = shown.size();
    // The room of a grid: the least share of its usable size any window gets
    // in its cell; a grid where some window gets less than all of it fails.
    int columns = 0;
    double bestRoom = 1.0;
    for (int c = 1; c <= n; ++c) {
        const int r = (n + c - 1) / c;
        const QSize cell(area.width() / c, area.height() / r);
        double room = std::numeric_limits<double>::infinity();
        for (const QMdiSubWindow* window : shown) {
            const QSize usable = tileSizeOf(window);
            room = std::min({room, double(cell.width()) / usable.width(),
                             double(cell.height()) / usable.height()});
        }
        if (room >= bestRoom) {
            bestRoom = room;
            columns = c;
        }
    }
    if (columns == 0)
        return false;
    const int rows = (n + columns - 1) / columns;
    for (int i = 0; i < n; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        const QPoint topLeft(area.left() + area.width() * column / columns,
                             area.top() + area.height() * row / rows);
        const QPoint bottomRight(area.left() + area.width() * (column + 1) / columns,
                                 area.top() + area.height() * (row + 1) / rows);
        placeInsideArea(shown[i], topLeft,
                        QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
    }
    tiles.clear();
    for (const QMdiSubWindow* window : shown)
        tiles[window] = window->geometry();
    return true;
}

bool RynMainWindow::isTiled() const
{
    bool placed = false;
    for (const QMdiSubWindow* window : shownSubWindows()) {
        if (!tiles.contains(window))
            continue;
        if (tiles.value(window) != window->geometry())
            return false;
        placed = true;
    }
    return placed;
}

void RynMainWindow::onCheckForUpdates()
{
    startUpdater({QStringLiteral("/checknow")});
}

} // namespace ryn
