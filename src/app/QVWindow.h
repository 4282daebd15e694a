#pragma once

#include "framework/window/RynMainWindow.h"
#include "studies/common/ReportTables.h"
#include "studies/design/Design.h"

#include <QList>
#include <QMap>
#include <QPrinter>
#include <QTextCursor>

#include <optional>

class EffectPanel;
class EmptyAreaHint;
class FileCommands;
class QMdiSubWindow;
class QSignalMapper;
class QTextEdit;
class QVPlotWidget;
class ReachNumDialog;
class ReleaseRecaptureWidget;
class RunModeDialogImpl;
class StudySubWindow;

namespace ryn {
class NavPanelItem;
class RynSettings;
} // namespace ryn

// The program's main window: the frame specialised for the five study
// designs. The navigation panel and the Window menu open a design's window;
// the one marked active (the arrow in the navigation panel) is what "Run
// analysis" computes, on the worker thread behind the progress dialog, and
// whose report and plot then fill the "Text Output" and "Plot" windows. The
// reach count and run mode of the active single- or paired-release design are
// set in two docks. The designs open at exit are opened again at the next
// start.
class QVWindow : public ryn::RynMainWindow
{
    Q_OBJECT

public:
    // Keys of the docks and sub-windows this window adds to the frame's.
    enum DockId { ReplicatesDockId = 2, ReachesDockId = 3, EffectDockId = 4 };
    enum SubWindowId { TextOutputWindowId = 200, PlotWindowId = 201 };
    enum { ResetGeometryAction = 10 };
    // Edit > "Fill reaches…" and the Undo of the last fill; Help > "What's
    // This?" and "Getting started".
    enum {
        FillReachesAction = 20,
        UndoFillAction = 21,
        WhatsThisAction = 22,
        GettingStartedAction = 23
    };
    // The Tools menu: "Plan to a target…", "Sensitivity…", "Compare designs…"
    // and "Check by simulation…".
    enum { ToolsMenu = 6, PlanAction = 11, SensitivityAction = 12, CompareAction = 13 };

    // settings keeps the inputs, the geometries and the open designs; it must
    // outlive the window.
    explicit QVWindow(ryn::RynSettings* settings, QWidget* parent = nullptr,
                      Qt::WindowFlags flags = Qt::WindowFlags());
    // Stores which designs are open, for the next start.
    ~QVWindow() override;

    // The design's window, created on first use; null for an unknown type.
    StudySubWindow* studyWindow(int type);
    // Makes the design the one "Run analysis" computes and points the two
    // dialogs at it.
    void activateStudy(int type);
    StudySubWindow* activeStudyWindow() const;
    // Shows the design's window and makes it the active design, as its
    // navigation entry does.
    void showStudy(int type);
    bool hasActiveStudy() const { return activeStudyWindow() != nullptr; }

    // The design whose run is in progress or whose report is being written,
    // 0 when idle.
    int pendingRunType() const { return pendingRun; }
    RunModeDialogImpl* replicatesDialog() const { return replicates; }
    ReachNumDialog* reachesDialog() const { return reaches; }
    EffectPanel* effectPanel() const { return effect; }
    ryn::NavPanelItem* runAnalysisItem() const { return runItem; }
    ryn::NavPanelItem* checkBySimulationItem() const { return checkItem; }
    ryn::NavPanelItem* studyItem(int type) const { return studyItems.value(type); }
    // The report editor and the plot, null before the first report.
    QTextEdit* textOutput() const;
    QVPlotWidget* plotWidget() const;
    // Saving, printing, the results export and the design files.
    FileCommands* fileCommands() const { return files; }
    // The Window menu's entries of the Text Output and Plot windows, enabled
    // once the window exists.
    QAction* resultsWindowAction(int key) const { return resultsActions.value(key); }

    void updateNav() override;

private slots:
    void onStudyNavItemDoubleClicked(int type);
    void onRunAnalysis();
    void onSubWindowActivated(QMdiSubWindow* subWin) override;
    void onRunComplete() override;
    void onRunTerminated() override;
    void onReachNumChanged(int n);
    void onStudyWindowClosing(int type);
    void doActionPrint() override;
    void doActionSaveAs() override;
    void doActionPrintPreview() override;
    void printPreviewPaintRequested(QPrinter* printer);
    void onHelpAbout() override;
    void onResetWindowGeom();
    void onPlanToTarget();
    void onCompareDesigns();
    void onSensitivity();
    void onBandsRequested(const QString& parameter);
    void onCheckBySimulation();
    void onFillReaches();
    void onUndoFill();

private:
    void createDialogDocks();
    void createStudyNavigation();
    void createRunNavigation();
    void createSimulationCheck();
    void createToolBar();
    void createEditMenu();
    void createPlanningAction();
    void createComparisonAction();
    void createHelpActions();
    // The form of the active design when it has reaches, else null.
    ReleaseRecaptureWidget* activeReachForm() const;
    void updateEditActions();
    void createSensitivityAction();
    void setUpFileActions();
    void attachSettings();
    void reopenStudies();

    StudySubWindow* createStudyWindow(int type);
    QSize initialSize(StudySubWindow* window) const;
    void updateReplicatesDock(int type);
    void refreshReplicateParameters(int type);
    QSize resultsSize(int key) const;
    void place(QMdiSubWindow* window, QSize size, Qt::Alignment corner);
    void createResultsEntries();
    void showResultsWindow(int key);
    void bringResultsForward();
    QTextEdit* textOutputWindow();
    QVPlotWidget* plotWindow();
    void continueReport();

    ryn::RynSettings* settings;
    QSignalMapper* studyMapper;
    QMap<int, StudySubWindow*> studyWindows;
    QMap<int, ryn::NavPanelItem*> studyItems;
    ryn::NavPanelItem* studyCategory = nullptr;
    ryn::NavPanelItem* runCategory = nullptr;
    ryn::NavPanelItem* runItem = nullptr;
    ryn::NavPanelItem* checkItem = nullptr;
    RunModeDialogImpl* replicates = nullptr;
    ReachNumDialog* reaches = nullptr;
    EffectPanel* effect = nullptr;
    FileCommands* files = nullptr;
    EmptyAreaHint* emptyHint = nullptr;
    QMap<int, QAction*> resultsActions;
    // The type of the design whose results the plot shows, 0 before the
    // first.
    int plottedType = 0;
    int pendingRun = 0;
    // The design whose run the plot shows, and its title: the one its bands
    // are computed for.
    std::optional<Design> plottedDesign;
    QString plottedTitle;
    // The report pieces still to be written, and where they go.
    QList<ReportPiece> reportQueue;
    QTextCursor reportCursor;
};
