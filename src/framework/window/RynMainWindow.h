#pragma once

#include "framework/window/OutputDockWidget.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QStringList>

#include <memory>

class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QModelIndex;
class QProcess;
class QProgressDialog;
class QSignalMapper;

namespace ryn {

class NavPanelItem;
class NavPanelModel;
class NavPanelView;
class RynSettings;
class ThreadRunner;

// The generic multiple-document frame of the program: the MDI area, a keyed
// registry of menus, actions, docks and sub-windows, the navigation panel, the
// output log, the progress dialog and the one worker thread. It knows nothing
// of studies; the study main window adds the designs, the run flow and the
// report and plot windows on top of it.
class RynMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum DockId { NavigationDockId = 0, OutputDockId = 1 };
    enum MenuId { FileMenu = 0, HelpMenu = 1, ViewMenu = 2, WindowMenu = 3, EditMenu = 5 };
    enum ActionId {
        ExitAction = 0,
        AboutAction = 1,
        PrintAction = 3,
        PrintPreviewAction = 4,
        SaveAction = 5,
        SaveAsAction = 6,
        CascadeAction = 7,
        CloseAllAction = 8,
        TileAction = 9
    };

    explicit RynMainWindow(QWidget* parent = nullptr, const QString& name = QString(),
                           Qt::WindowFlags flags = Qt::WindowFlags());
    ~RynMainWindow() override;

    // Registers a menu under key, placed before the menu of beforeKey if there
    // is one, else at the end of the menu bar.
    QMenu* addMenu(int key, const QString& title, int beforeKey = -1);
    // Appends an action to the keyed menu and registers it; null without that menu.
    QAction* addMenuAction(int menuKey, int actionKey, const QString& text);
    // Places an action at the menu's insertion point: above Save in File,
    // above About in Help, at the end of Window (each marked by a separator).
    void insertMenuAction(QMenu* menu, QAction* action);
    // Creates a navigation entry below parent (the root when null), optionally
    // also in a menu. Triggering it calls receiver's slot; an entry without a
    // slot (a heading) is disabled together with its subtree.
    NavPanelItem* addNavItem(int kind, const QString& text, NavPanelItem* parent = nullptr,
                             QMenu* menu = nullptr, const QObject* receiver = nullptr,
                             const char* slot = nullptr);
    // Registers a dock under key, docks it in area and lists it in View.
    void addDock(int key, Qt::DockWidgetArea area, QDockWidget* dock);
    // Adds widget to the MDI area under key unless that key is taken.
    void addSubWindow(int key, QWidget* widget);
    QWidget* subWindow(int key) const;
    // The key of a registered sub-window, -1 if it is not registered.
    int subWindowId(QMdiSubWindow* subWin) const;

    // Attaches the settings store (not owned) and the id under which the
    // window's own geometry is kept; geometries are saved when the window closes.
    void setSettings(RynSettings* settings, int geometryKey);
    // Keeps the geometry of the sub-window under subWindowKey in setting settingsKey.
    void setSubWindowGeometryKey(int settingsKey, int subWindowKey);
    // Restore the stored geometry; a missing or invalid value changes nothing.
    void restoreWindowGeometry();
    void restoreSubWindowGeometry(int key);

    // Starts the update program beside the executable; the result is not awaited.
    void startUpdater(const QStringList& arguments);

    QMenu* menu(int key) const { return menus.value(key); }
    QAction* action(int key) const { return actions.value(key); }
    QDockWidget* dock(int key) const { return docks.value(key); }
    QMdiArea* mdiArea() const { return mdi; }
    NavPanelModel* navModel() const { return navigationModel; }
    NavPanelView* navView() const { return navigationView; }
    NavPanelItem* navRoot() const { return navigationRoot; }
    QProgressDialog* progressDialog() const { return progress; }
    ThreadRunner* threadRunner() const { return runner.get(); }
    OutputDockWidget* outputDock() const { return output; }
    QString windowName() const { return name; }
    int activeSubWindowKey() const { return activeKey; }
    bool isUpdaterPresent() const { return updaterPresent; }
    QString updaterPath() const;
    QProcess* updaterProcess() const { return updater; }

signals:
    void navItemClicked(const QModelIndex& index);
    void navItemDoubleClicked(const QModelIndex& index);
    void navContextMenuRequested(const QPoint& pos);

public slots:
    virtual void onRunComplete();
    virtual void onRunTerminated();
    virtual void onProgressCanceled();
    virtual void setRunProgress(int percentComplete);
    virtual void onRunStatus(const QString msg);
    virtual void onRunProgressStatus(const QString msg);
    virtual void onRunError(const QString msg);
    virtual void onRunWarning(const QString msg);
    virtual void onRunBusy();
    virtual void onSubWindowActivated(QMdiSubWindow* subWin);
    virtual void onHelpAbout();
    virtual void doActionSave();
    virtual void doActionSaveAs();
    virtual void doActionPrint();
    virtual void doActionPrintPreview();
    virtual void out(QString msg);
    virtual void out(QString msg, ryn::OutputDockWidget::OutputType type);
    virtual void heading(QString msg);
    virtual void err(QString msg);
    virtual void warn(QString msg);
    virtual void updateNav();
    virtual void onNavItemDoubleClicked(int id);
    virtual void onNavItemDoubleClicked(const QModelIndex& index);
    virtual void onNavItemClicked(const QModelIndex& index);
    virtual void onNavContextMenuRequested(const QPoint& pos);

    // The shown sub-windows one below and right of the other, each of the
    // same size, at least its usable size (tileSizeOf) and inside the area.
    void cascadeSubWindows();
    // The shown sub-windows in a grid over the document area, of as many
    // columns as gives each window the most room for its usable size; where
    // no grid gives every window its usable size, they are cascaded instead.
    // While the windows are tiled, a window shown takes its place in a new
    // grid where one gives every window its usable size.
    void tileSubWindows();
    // Whether the windows the last Tile placed that are still shown are where
    // it put them (none moved or resized since).
    bool isTiled() const;
    // The least size a sub-window is still usable at: its minimum size hint,
    // at least a few lines of a form.
    static QSize tileSizeOf(const QWidget* window);
    void onCheckForUpdates();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A sub-window shown is kept inside the document area (where the area's
    // own placement or a stored geometry would leave part of it outside),
    // and takes its place in the grid while the windows are tiled.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Moves a shown sub-window that reaches outside the document area into
    // it, shrunk to the area where it is larger.
    void keepInsideArea(QMdiSubWindow* window);
    // Gives window size, grown to its minimum and shrunk to the document
    // area, at topLeft, moved as far as it must be to lie inside the area; a
    // maximised window is restored first.
    void placeInsideArea(QMdiSubWindow* window, QPoint topLeft, QSize size) const;
    // The sub-windows shown in the document area, in the order they were added.
    QList<QMdiSubWindow*> shownSubWindows() const;

private:
    // The grid of tileSubWindows; false, and nothing moved, where none gives
    // every window its usable size.
    bool arrangeInGrid();
    void createMdiArea();
    void createMenus();
    void createNavigation();
    void createOutputDock();
    void createProgressDialog();
    void connectRunner();
    void saveGeometries();

    QSignalMapper* navSignalMapper;
    QMap<int, QDockWidget*> docks;
    // Guarded: a sub-window closed in the MDI area may delete itself.
    QMap<int, QPointer<QWidget>> subWindows;
    // Sub-window key -> settings id of its geometry.
    QMap<int, int> geometryKeys;
    RynSettings* settings = nullptr;
    int geometryKey = -1;
    QMdiArea* mdi = nullptr;
    QString name;
    int activeKey = -1;
    QMap<int, QMenu*> menus;
    QMap<int, QAction*> actions;
    NavPanelModel* navigationModel = nullptr;
    NavPanelView* navigationView = nullptr;
    NavPanelItem* navigationRoot = nullptr;
    QAction* fileAnchor = nullptr;
    QAction* windowAnchor = nullptr;
    QAction* helpAnchor = nullptr;
    QProgressDialog* progress = nullptr;
    // Where the last Tile put each window.
    QHash<const QMdiSubWindow*, QRect> tiles;
    std::unique_ptr<ThreadRunner> runner;
    OutputDockWidget* output = nullptr;
    const QString updaterName;
    bool updaterPresent = false;
    QProcess* updater = nullptr;
};

} // namespace ryn
