#include "app/QVWindow.h"

#include "app/ComparisonDialog.h"
#include "app/EmptyAreaHint.h"
#include "app/ExampleDesigns.h"
#include "app/FileCommands.h"
#include "app/GettingStartedDialog.h"
#include "app/QuorvelInfo.h"
#include "app/SimulationDialog.h"
#include "forms/dialogs/FillReachesDialog.h"
#include "forms/dialogs/ReachNumDialog.h"
#include "forms/dialogs/ReleaseDesignKeys.h"
#include "forms/dialogs/RunModeDialogImpl.h"
#include "forms/release_recapture/ReleaseRecaptureWidget.h"
#include "framework/navigation/NavPanelItem.h"
#include "framework/navigation/NavPanelModel.h"
#include "framework/navigation/NavPanelView.h"
#include "framework/run/ThreadRunner.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "framework/window/ScreenFit.h"
#include "numerics/Matrix.h"
#include "plot/QVPlotWidget.h"
#include "plot/TornadoChart.h"
#include "studies/btps/BTPSSubWindow.h"
#include "studies/common/window/EffectPanel.h"
#include "studies/planning/window/PlanDialog.h"
#include "studies/release_recapture/window/PairedReleaseSubWindow.h"
#include "studies/release_recapture/window/SingleReleaseSubWindow.h"
#include "studies/sensitivity/window/BandDialog.h"
#include "studies/sensitivity/window/SensitivityDialog.h"
#include "studies/simulation/DesignSimulation.h"
#include "studies/tirr/TIRRSubWindow.h"
#include "studies/vwp/VWPSubWindow.h"

#include <QDockWidget>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScreen>
#include <QSignalMapper>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QWhatsThis>

#include <algorithm>

namespace {

// The five designs as the navigation panel and the Window menu list them, by
// their bit in the open-studies mask.
struct StudyDesign
{
    int type;
    const char* caption;
    QSize initialSize;
    int geometryKey;
};

const StudyDesign studyDesigns[] = {
    {StudySubWindow::SingleReleaseStudy,
     "Single Release",
     {600, 310},
     QVSettingsKeys::GeomSingleRelease},
    {StudySubWindow::PairedReleaseStudy,
     "Paired Release",
     {600, 330},
     QVSettingsKeys::GeomPairedRelease},
    {StudySubWindow::TIRRStudy, "Transport In-River Ratio", {437, 486}, QVSettingsKeys::GeomTirr},
    {StudySubWindow::BTPSStudy,
     "Balloon-Tag Passage Survival Estimate",
     {504, 489},
     QVSettingsKeys::GeomBtps},
    {StudySubWindow::VWPStudy,
     "Virtual with a Paired Release",
     {700, 600},
     QVSettingsKeys::GeomVwpr},
};

const StudyDesign* designOf(int type)
{
    for (const StudyDesign& design : studyDesigns) {
        if (design.type == type)
            return &design;
    }
    return nullptr;
}

// The size of a first start, at most nine tenths of the screen; a geometry
// stored by an earlier run replaces it.
const QSize firstStartSize(1280, 900);

// How long the report is written before the event loop runs again; a piece
// started just before the end takes some 20 ms more, and the window's repaint
// as much again.
const qint64 reportSliceMilliseconds = 10;

} // namespace

QVWindow::QVWindow(ryn::RynSettings* settings, QWidget* parent, Qt::WindowFlags flags)
    : RynMainWindow(parent, QStringLiteral("Quorvel"), flags)
    , settings(settings)
    , studyMapper(new QSignalMapper(this))
{
    connect(studyMapper, &QSignalMapper::mappedInt, this, &QVWindow::onStudyNavItemDoubleClicked);

    createDialogDocks();
    createStudyNavigation();
    createResultsEntries();
    createRunNavigation();
    createSimulationCheck();
    createToolBar();
    createEditMenu();
    createPlanningAction();
    createComparisonAction();
    createHelpActions();
    createSensitivityAction();
    setUpFileActions();
    files = new FileCommands(this, settings);
    files->createActions();
    attachSettings();
    reopenStudies();
    updateNav();
    setWindowTitle(settings->stringValue(QVSettingsKeys::ProgramName));

    navView()->setWhatsThis(
        tr("<b>Navigation:</b> Select your study type by double clicking. The active study type "
           "is indicated by a blue arrow (>). Clicking <b>Run analysis</b> computes estimates for "
           "the active study type."));
}

// The design windows outlive this part of the window (the frame's widget tree
// deletes them), so they are cut off from it first.
QVWindow::~QVWindow()
{
    for (StudySubWindow* window : qAsConst(studyWindows))
        disconnect(window, nullptr, this, nullptr);
    disconnect(reaches, nullptr, this, nullptr);
    settings->setValue(QVSettingsKeys::StudyWinOpenState, StudySubWindow::openStudiesMask());
}

void QVWindow::createDialogDocks()
{
    replicates = new RunModeDialogImpl(settings);
    replicates->setWindowTitle(tr("Number of Replicates"));
    auto* replicatesDock = new QDockWidget(tr("Number of Replicates"), this);
    replicatesDock->setObjectName(QStringLiteral("ReplicatesDock"));
    replicatesDock->setWidget(ryn::screenfit::scrolling(replicates));
    addDock(ReplicatesDockId, Qt::LeftDockWidgetArea, replicatesDock);

    reaches = new ReachNumDialog(settings);
    reaches->setWindowTitle(tr("Number of Reaches"));
    auto* reachesDock = new QDockWidget(tr("Number of Reaches"), this);
    reachesDock->setObjectName(QStringLiteral("ReachesDock"));
    reachesDock->setWidget(ryn::screenfit::scrolling(reaches));
    addDock(ReachesDockId, Qt::LeftDockWidgetArea, reachesDock);
    connect(reaches, &ReachNumDialog::reachNumChanged, this, &QVWindow::onReachNumChanged);

    effect = new EffectPanel(settings);
    auto* effectDock = new QDockWidget(tr("Effect Test"), this);
    effectDock->setObjectName(QStringLiteral("EffectDock"));
    effectDock->setWidget(ryn::screenfit::scrolling(effect));
    addDock(EffectDockId, Qt::LeftDockWidgetArea, effectDock);

    // The left column runs the window's full height, so that the navigation
    // panel shows all its entries above the dialogs, wide enough for the
    // longest design name; the dialogs take no more than they need, and
    // scroll where a low screen leaves them less.
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    for (QDockWidget* dialogDock : {replicatesDock, reachesDock, effectDock})
        dialogDock->widget()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    const QList<QDockWidget*> column = {dock(NavigationDockId), replicatesDock, reachesDock,
                                        effectDock};
    resizeDocks(column,
                {navView()->sizeHint().height(), replicates->sizeHint().height(),
                 reaches->sizeHint().height(), effect->sizeHint().height()},
                Qt::Vertical);
    resizeDocks({dock(OutputDockId)}, {120}, Qt::Vertical);
    resizeDocks({dock(NavigationDockId)}, {300}, Qt::Horizontal);
}

void QVWindow::createStudyNavigation()
{
    studyCategory = addNavItem(ryn::NavPanelItem::CategoryItem, tr("Study Design Types"));
    QMenu* windowMenu = menu(WindowMenu);
    windowMenu->addSeparator();
    for (const StudyDesign& design : studyDesigns) {
        const QString caption = tr(design.caption);
        ryn::NavPanelItem* item = addNavItem(ryn::NavPanelItem::StudyItem, caption, studyCategory,
                                             windowMenu, studyMapper, SLOT(map()));
        studyMapper->setMapping(item, design.type);
        item->setCheckable(true);
        item->setToolTip(tr("Open the %1 design and make it the active one").arg(caption));
        studyItems[design.type] = item;
    }
}

// The Text Output and Plot windows below the designs in the Window menu.
void QVWindow::createResultsEntries()
{
    const QList<QPair<int, QString>> entries = {{TextOutputWindowId, tr("Text Output")},
                                                {PlotWindowId, tr("Plot")}};
    for (const auto& [key, caption] : entries) {
        auto* entry = new QAction(caption, this);
        entry->setToolTip(tr("Show the %1 window of the last run").arg(caption));
        entry->setEnabled(false);
        connect(entry, &QAction::triggered, this, [this, key = key] { showResultsWindow(key); });
        insertMenuAction(menu(WindowMenu), entry);
        resultsActions[key] = entry;
    }
}

void QVWindow::showResultsWindow(int key)
{
    auto* window = qobject_cast<QMdiSubWindow*>(subWindow(key));
    if (!window)
        return;
    window->show();
    window->widget()->show();
    mdiArea()->setActiveSubWindow(window);
}

// A maximised window would keep the results behind it: it is restored to
// its normal size, and the results are raised above the designs, the plot
// last, so that both stay in view (the report at the top left, the plot at
// the bottom right); where the plot would cover most of the report (windows
// cascaded or moved by hand), the two take their first places again, side
// by side. The design stays the active one.
void QVWindow::bringResultsForward()
{
    for (QMdiSubWindow* window : mdiArea()->subWindowList()) {
        if (window->isMaximized())
            window->showNormal();
    }
    auto* report = qobject_cast<QMdiSubWindow*>(subWindow(TextOutputWindowId));
    auto* plot = qobject_cast<QMdiSubWindow*>(subWindow(PlotWindowId));
    if (report && plot && !report->isHidden() && !plot->isHidden()) {
        const QRect covered = report->geometry() & plot->geometry();
        const QSize shown = report->size();
        if (2 * covered.width() * covered.height() > shown.width() * shown.height()) {
            place(report, resultsSize(TextOutputWindowId), Qt::AlignLeft | Qt::AlignTop);
            place(plot, resultsSize(PlotWindowId), Qt::AlignRight | Qt::AlignBottom);
        }
    }
    for (int key : {int(TextOutputWindowId), int(PlotWindowId)}) {
        QWidget* window = subWindow(key);
        if (window && !window->isHidden())
            window->raise();
    }
}

void QVWindow::createRunNavigation()
{
    runCategory = addNavItem(ryn::NavPanelItem::CategoryItem, tr("Run"));
    runItem = addNavItem(ryn::NavPanelItem::ActionItem, tr("Run analysis"), runCategory,
                         menu(FileMenu), this, SLOT(onRunAnalysis()));
    runItem->setIcon(QIcon(QStringLiteral(":/rynui/run.png")));
    runItem->setShortcut(QKeySequence(Qt::Key_F5));
    runItem->setToolTip(tr("Run analysis (F5): compute the precision of the active study design"));
    runItem->setEnabled(false);
    navView()->expandAll();
}

// "Check by simulation…" under Run analysis and in the Tools menu: the active design's predicted
// precision checked by simulated data sets in a dialog of its own.
void QVWindow::createSimulationCheck()
{
    if (!menu(ToolsMenu))
        addMenu(ToolsMenu, tr("Tools"), WindowMenu);
    checkItem = addNavItem(ryn::NavPanelItem::ActionItem, tr("Check by simulation…"), runCategory,
                           menu(ToolsMenu), this, SLOT(onCheckBySimulation()));
    checkItem->setToolTip(tr("Check the predicted precision of the active study design by "
                             "simulating its data sets"));
    checkItem->setEnabled(false);
    navView()->expandAll();
}

// The dialog works on the design as the form shows it now, checked as a run
// checks it; inputs that cannot be read are refused as a run refuses them.
void QVWindow::onCheckBySimulation()
{
    StudySubWindow* window = activeStudyWindow();
    if (!window || !window->validate())
        return;
    std::unique_ptr<DesignSimulation> simulation;
    try {
        simulation = DesignSimulation::of(window->design());
    } catch (const QString& text) {
        QMessageBox::critical(this, window->title(), text);
        return;
    }
    auto* dialog =
        new SimulationDialog(std::move(simulation), window->title(), files->dialogs(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void QVWindow::createToolBar()
{
    QToolBar* toolBar = addToolBar(tr("Actions"));
    toolBar->setObjectName(QStringLiteral("ActionsToolBar"));
    toolBar->addAction(runItem);
    QAction* whatsThis = QWhatsThis::createAction(this);
    whatsThis->setToolTip(tr("What's This? Click it, then click a part of the window"));
    toolBar->addAction(whatsThis);
}

// "Fill reaches…" and its Undo act on the active single- or paired-release
// design; the menu brings their state up to date each time it opens.
void QVWindow::createEditMenu()
{
    QMenu* edit = addMenu(EditMenu, tr("Edit"), ViewMenu);
    QAction* undo = addMenuAction(EditMenu, UndoFillAction, tr("&Undo"));
    connect(undo, &QAction::triggered, this, &QVWindow::onUndoFill);
    QAction* fill = addMenuAction(EditMenu, FillReachesAction, tr("&Fill reaches…"));
    fill->setToolTip(tr("Give a span of reaches the same survival, detection probability and "
                        "proportion removed"));
    connect(fill, &QAction::triggered, this, &QVWindow::onFillReaches);
    edit->addSeparator();
    connect(addMenuAction(EditMenu, ResetGeometryAction, tr("Reset Window Geometry")),
            &QAction::triggered, this, &QVWindow::onResetWindowGeom);
    connect(edit, &QMenu::aboutToShow, this, &QVWindow::updateEditActions);
    updateEditActions();
}

ReleaseRecaptureWidget* QVWindow::activeReachForm() const
{
    StudySubWindow* active = activeStudyWindow();
    return active ? qobject_cast<ReleaseRecaptureWidget*>(active->studyWidget()) : nullptr;
}

void QVWindow::updateEditActions()
{
    const ReleaseRecaptureWidget* form = activeReachForm();
    const bool idle = pendingRun == 0;
    action(FillReachesAction)->setEnabled(form && idle && form->reachPanelCount() > 0);
    QAction* undo = action(UndoFillAction);
    const bool canUndo = form && idle && form->fillHistory()->canUndo();
    undo->setEnabled(canUndo);
    undo->setText(canUndo ? tr("&Undo %1").arg(form->fillHistory()->undoText()) : tr("&Undo"));
}

void QVWindow::onFillReaches()
{
    ReleaseRecaptureWidget* form = activeReachForm();
    if (!form || form->reachPanelCount() == 0 || pendingRun != 0)
        return;
    const int first = form->firstPanelReach();
    FillReachesDialog dialog(first, first + form->reachPanelCount() - 1, this);
    dialog.setObjectName(QStringLiteral("FillReaches"));
    if (dialog.exec() == QDialog::Accepted)
        form->fillReaches(dialog.fill());
    updateEditActions();
}

void QVWindow::onUndoFill()
{
    if (ReleaseRecaptureWidget* form = activeReachForm(); form && pendingRun == 0)
        form->fillHistory()->undo();
    updateEditActions();
}

// "What's This?" and "Getting started" go above About.
void QVWindow::createHelpActions()
{
    QMenu* help = menu(HelpMenu);
    QAction* whatsThis = QWhatsThis::createAction(this);
    insertMenuAction(help, whatsThis);
    QAction* start = new QAction(tr("&Getting started"), this);
    start->setObjectName(QStringLiteral("GettingStarted"));
    connect(start, &QAction::triggered, this, [this] {
        GettingStartedDialog page(this);
        page.exec();
    });
    insertMenuAction(help, start);
    emptyHint = new EmptyAreaHint(mdiArea());
    emptyHint->lower();
}

// "Plan to a target…" plans the active design, whichever it is.
void QVWindow::createPlanningAction()
{
    if (!menu(ToolsMenu))
        addMenu(ToolsMenu, tr("Tools"), WindowMenu);
    QAction* plan = addMenuAction(ToolsMenu, PlanAction, tr("Plan to a target…"));
    plan->setToolTip(tr("Find the release size, split or detection probability that gives an "
                        "estimate of the active design the precision you need"));
    plan->setEnabled(false);
    connect(plan, &QAction::triggered, this, &QVWindow::onPlanToTarget);
}

// "Compare designs…" sets the open designs side by side, whichever is active.
void QVWindow::createComparisonAction()
{
    QAction* compare = addMenuAction(ToolsMenu, CompareAction, tr("Compare designs…"));
    compare->setToolTip(tr("Set the open designs side by side: the fewest fish each needs for a "
                           "target, or the precision or power each reaches with a budget"));
    connect(compare, &QAction::triggered, this, &QVWindow::onCompareDesigns);
}

void QVWindow::onCompareDesigns()
{
    QList<ComparedDesign> open;
    for (StudySubWindow* window : studyWindows) {
        if (window != nullptr)
            open.append({window->title(), window->design(), QString()});
    }
    auto* dialog = new ComparisonDialog(open, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void QVWindow::onPlanToTarget()
{
    StudySubWindow* active = activeStudyWindow();
    if (!active)
        return;
    auto* dialog = new PlanDialog(active, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &PlanDialog::planWritten, this, [this](const QTextDocument* report) {
        QTextCursor log(outputDock()->textEdit()->document());
        log.movePosition(QTextCursor::End);
        log.insertBlock();
        log.insertFragment(QTextDocumentFragment(report));
        outputDock()->textEdit()->ensureCursorVisible();
    });
    dialog->show();
}

// "Sensitivity…" shows which guessed input of the active design matters most,
// as a tornado chart drawn by the plot layer beside the dialog's table.
void QVWindow::createSensitivityAction()
{
    QAction* sensitivity = addMenuAction(ToolsMenu, SensitivityAction, tr("Sensitivity…"));
    sensitivity->setToolTip(tr("Vary each input of the active design on its own and see which "
                               "changes the precision most"));
    sensitivity->setEnabled(false);
    connect(sensitivity, &QAction::triggered, this, &QVWindow::onSensitivity);
}

void QVWindow::onSensitivity()
{
    StudySubWindow* active = activeStudyWindow();
    if (!active || !active->validate())
        return;
    auto* chart = new TornadoChart;
    auto* dialog = new SensitivityDialog(active, chart, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &SensitivityDialog::analysed, chart, [dialog, chart] {
        const Sensitivity& result = dialog->result();
        QStringList labels;
        QList<double> low;
        QList<double> high;
        for (const SensitivityEntry& entry : result.inputs) {
            labels << entry.key;
            low << entry.measureLow;
            high << entry.measureHigh;
        }
        chart->setBars(result.title(), PlanTarget::measureName(result.request.target.measure),
                       labels, result.base, low, high);
    });
    dialog->show();
}

// The band is of the design whose run the plot shows, for the parameter it
// draws; it is shaded until the next run.
void QVWindow::onBandsRequested(const QString& parameter)
{
    if (!plottedDesign || parameter.isEmpty())
        return;
    auto* dialog = new BandDialog(*plottedDesign, parameter, plottedTitle, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &BandDialog::computed, this, [this, dialog] {
        const Band& band = dialog->band();
        QVector<double> x;
        QVector<double> low;
        QVector<double> high;
        for (const BandRow& row : band.rows) {
            x << row.x;
            low << row.min.measure;
            high << row.max.measure;
        }
        if (QVPlotWidget* plot = plotWidget())
            plot->setBand(
                band.target.quantity,
                tr("%1 over %2").arg(PlanTarget::measureName(band.target.measure), band.boxText()),
                x, low, high);
    });
    connect(dialog, &BandDialog::cleared, this, [this] {
        if (QVPlotWidget* plot = plotWidget())
            plot->clearBand();
    });
    dialog->show();
}

// Save as, Print and Print preview act on the report or the plot, so they
// wait until one of those windows is active.
void QVWindow::setUpFileActions()
{
    action(SaveAction)->setVisible(false);
    action(SaveAsAction)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    action(PrintAction)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    action(ExitAction)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    for (int id : {SaveAsAction, PrintAction, PrintPreviewAction})
        action(id)->setEnabled(false);
}

void QVWindow::attachSettings()
{
    setSettings(settings, QVSettingsKeys::WindowGeom);
    for (const StudyDesign& design : studyDesigns)
        setSubWindowGeometryKey(design.geometryKey, design.type);
    QSize size = firstStartSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
    restoreWindowGeometry();
}

// The designs whose windows were shown at the last exit, in ascending type;
// the last one opened is the active one.
void QVWindow::reopenStudies()
{
    StudySubWindow::setOpenStudiesMask(0);
    const unsigned open = settings->value(QVSettingsKeys::StudyWinOpenState).toUInt();
    for (const StudyDesign& design : studyDesigns) {
        if ((open & static_cast<unsigned>(design.type)) == 0)
            continue;
        if (StudySubWindow* window = studyWindow(design.type)) {
            window->showStudy();
            mdiArea()->setActiveSubWindow(window);
            activateStudy(design.type);
        }
    }
}

StudySubWindow* QVWindow::studyWindow(int type)
{
    if (StudySubWindow* window = studyWindows.value(type))
        return window;
    const DesignInfo* info = designs::ofStudyType(type);
    const bool blank = info && !ExampleDesigns::hasStoredInputs(info->kind, *settings);
    StudySubWindow* window = createStudyWindow(type);
    if (!window)
        return nullptr;
    // A design opened for the first time shows its example's inputs, so that
    // it can be run at once; inputs stored before win, and the options
    // (replicates, precisions) stay as stored.
    Design example;
    if (blank && ExampleDesigns::example(info->kind, &example))
        window->studyWidget()->loadInputs(example.inputs);
    connect(window, &StudySubWindow::windowClosing, this, &QVWindow::onStudyWindowClosing);
    connect(window, &StudySubWindow::error, this, &QVWindow::err);
    connect(window, &StudySubWindow::status, this, qOverload<QString>(&QVWindow::out));
    if (auto* releaseWindow = qobject_cast<ReleaseRecaptureSubWindow*>(window)) {
        connect(releaseWindow, &ReleaseRecaptureSubWindow::parameterNamesChanged, this,
                [this, type] { refreshReplicateParameters(type); });
    }
    addSubWindow(type, window);
    // The MDI area shows what it is given while it is shown itself.
    window->hide();
    // Measured in the area, with its title bar and frame.
    window->resize(initialSize(window));
    studyWindows[type] = window;
    restoreSubWindowGeometry(type);
    return window;
}

// The design's size of a first opening; the river of a release-recapture
// form is shown whole in its height, so that no vertical scroll bar appears
// beside the horizontal one, and whole in its width as far as the document
// area allows (a long river scrolls). The other forms are shown whole.
QSize QVWindow::initialSize(StudySubWindow* window) const
{
    QSize size = designOf(window->id())->initialSize;
    auto* releaseWindow = qobject_cast<ReleaseRecaptureSubWindow*>(window);
    if (!releaseWindow)
        return size.expandedTo(window->sizeHint());
    const ReleaseRecaptureWidget* form = releaseWindow->form();
    const QSize frame = window->sizeHint() - form->sizeHint();
    size.setHeight(std::max(size.height(), form->preferredHeight() + frame.height()));
    const int room = mdiArea()->viewport()->width();
    const int whole = form->preferredWidth() + frame.width();
    size.setWidth(std::max(size.width(), room > 0 ? std::min(whole, room) : whole));
    return size;
}

StudySubWindow* QVWindow::createStudyWindow(int type)
{
    switch (type) {
    case StudySubWindow::SingleReleaseStudy:
        return new SingleReleaseSubWindow(settings);
    case StudySubWindow::PairedReleaseStudy:
        return new PairedReleaseSubWindow(settings);
    case StudySubWindow::TIRRStudy:
        return new TIRRSubWindow(settings);
    case StudySubWindow::BTPSStudy:
        return new BTPSSubWindow(settings);
    case StudySubWindow::VWPStudy:
        return new VWPSubWindow(settings);
    default:
        return nullptr;
    }
}

// The flags are written directly; updateNav() redraws the panel.
void QVWindow::activateStudy(int type)
{
    for (auto it = studyWindows.cbegin(); it != studyWindows.cend(); ++it) {
        ryn::NavPanelItem* item = studyItems.value(it.key());
        item->active = it.key() == type;
        item->setChecked(item->active);
    }
    updateReplicatesDock(type);
    effect->setStudyType(type);
    if (ReleaseDesignKeys::of(type)) {
        reaches->setStudyType(type);
        reaches->setEnabled(true);
    } else {
        reaches->setEnabled(false);
    }
}

// The dialog is pointed at the design before it is given the design's names,
// so that it shows the design's own stored choice; filling the list stores
// nothing.
void QVWindow::updateReplicatesDock(int type)
{
    auto* window = qobject_cast<ReleaseRecaptureSubWindow*>(studyWindows.value(type));
    if (!window) {
        replicates->setEnabled(false);
        return;
    }
    replicates->setStudyType(type);
    replicates->setParameters(window->parameterNames(), QString());
    replicates->setEnabled(true);
}

// A release-recapture design's parameters change with its reaches and
// sharing; the replicates dialog offers those of the active design.
void QVWindow::refreshReplicateParameters(int type)
{
    StudySubWindow* active = activeStudyWindow();
    if (!active || active->id() != type || replicates->studyType() != type)
        return;
    auto* window = static_cast<ReleaseRecaptureSubWindow*>(active);
    replicates->setParameters(window->parameterNames(), QString());
}

StudySubWindow* QVWindow::activeStudyWindow() const
{
    for (auto it = studyWindows.cbegin(); it != studyWindows.cend(); ++it) {
        if (studyItems.value(it.key())->active)
            return it.value();
    }
    return nullptr;
}

void QVWindow::updateNav()
{
    const StudySubWindow* active = activeStudyWindow();
    const bool releaseRecapture = active && ReleaseDesignKeys::of(active->id());
    replicates->setEnabled(releaseRecapture);
    reaches->setEnabled(releaseRecapture);
    if (!active)
        effect->setStudyType(0);
    runItem->setEnabled(active != nullptr);
    action(PlanAction)->setEnabled(active != nullptr);
    action(SensitivityAction)->setEnabled(active != nullptr);
    checkItem->setEnabled(active != nullptr);
    if (files)
        files->updateActions();
    if (emptyHint) {
        const bool designShown =
            std::any_of(studyWindows.cbegin(), studyWindows.cend(),
                        [](const StudySubWindow* w) { return !w->isHidden(); });
        emptyHint->setVisible(!designShown);
    }
    RynMainWindow::updateNav();
}

void QVWindow::onStudyNavItemDoubleClicked(int type)
{
    showStudy(type);
}

void QVWindow::showStudy(int type)
{
    StudySubWindow* window = studyWindow(type);
    if (!window)
        return;
    window->showStudy();
    mdiArea()->setActiveSubWindow(window);
    activateStudy(type);
    updateNav();
}

// One run at a time: a second request while a run is pending is ignored. The
// inputs are taken before the progress dialog shows, so that inputs which
// cannot be read leave the program idle.
void QVWindow::onRunAnalysis()
{
    if (pendingRun != 0 || threadRunner()->isRunning())
        return;
    StudySubWindow* window = activeStudyWindow();
    if (!window || !window->validate())
        return;
    if (!window->startRun(threadRunner()))
        return;
    pendingRun = window->id();
    files->noteRunStarted(pendingRun);

    QProgressDialog* progress = progressDialog();
    progress->setRange(0, 100);
    progress->setLabelText(tr("Calculating..."));
    progress->show();
}

// The report is written a few pieces at a time (continueReport), so that the
// window keeps answering while a large one is laid out; the run counts as
// pending until its last piece is written.
void QVWindow::onRunComplete()
{
    RynMainWindow::onRunComplete();
    progressDialog()->reset();
    StudySubWindow* window = studyWindows.value(pendingRun);
    if (threadRunner()->isCanceled() || !window) {
        pendingRun = 0;
        files->updateActions();
        return;
    }

    QTextEdit* editor = textOutputWindow();
    editor->clear();
    subWindow(TextOutputWindowId)->show();
    editor->show();

    QVPlotWidget* plot = plotWindow();
    QWidget* plotSubWindow = subWindow(PlotWindowId);
    if (window->resultCount() <= 1) {
        plotSubWindow->hide();
    } else {
        QStringList names;
        Matrix table;
        window->getPlotData(names, table);
        plot->setData(names, table, window->rangeLabel(), window->title());
        plot->setPower(window->precisionTable().powerData(window->runEffect()),
                       window->runEffect().describe());
        plottedType = window->id();
        const QString chosen =
            settings->arrayValue(QVSettingsKeys::PlotParameter, plottedType).toString();
        if (!plot->showParameter(chosen))
            plot->showParameter(window->defaultPlotParameter());
        plottedDesign = window->design();
        plottedTitle = window->title();
        plotSubWindow->show();
        plot->show();
    }

    bringResultsForward();

    reportCursor = QTextCursor(editor->document());
    reportQueue = window->reportPieces();
    QTimer::singleShot(0, this, &QVWindow::continueReport);
}

void QVWindow::continueReport()
{
    QElapsedTimer slice;
    slice.start();
    while (!reportQueue.isEmpty() && slice.elapsed() < reportSliceMilliseconds) {
        // One layout of the text engine per piece.
        reportCursor.beginEditBlock();
        reportQueue.takeFirst()(reportCursor);
        reportCursor.endEditBlock();
    }
    if (!reportQueue.isEmpty()) {
        QTimer::singleShot(0, this, &QVWindow::continueReport);
        return;
    }
    QTextEdit* editor = textOutput();
    reportCursor.movePosition(QTextCursor::Start);
    editor->setTextCursor(reportCursor);
    editor->ensureCursorVisible();
    const int written = pendingRun;
    pendingRun = 0;
    files->noteReportWritten(written);
}

// A cancelled or failed run ends here; the next "Run analysis" may start.
void QVWindow::onRunTerminated()
{
    RynMainWindow::onRunTerminated();
    pendingRun = 0;
    files->updateActions();
}

QTextEdit* QVWindow::textOutputWindow()
{
    auto* window = qobject_cast<QMdiSubWindow*>(subWindow(TextOutputWindowId));
    if (!window) {
        window = new QMdiSubWindow;
        window->setWindowTitle(tr("Text Output"));
        auto* editor = new QTextEdit;
        // A report is output, rebuilt at every run: no undo history of it.
        editor->setUndoRedoEnabled(false);
        // A scroll bar that came with a growing report would narrow the page
        // and have all of it laid out again.
        editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        window->setWidget(editor);
        addSubWindow(TextOutputWindowId, window);
        window->hide();
        place(window, resultsSize(TextOutputWindowId), Qt::AlignLeft | Qt::AlignTop);
        resultsActions.value(TextOutputWindowId)->setEnabled(true);
    }
    return static_cast<QTextEdit*>(window->widget());
}

QVPlotWidget* QVWindow::plotWindow()
{
    auto* window = qobject_cast<QMdiSubWindow*>(subWindow(PlotWindowId));
    if (!window) {
        window = new QMdiSubWindow;
        window->setWindowTitle(tr("Plot"));
        auto* plot = new QVPlotWidget(settings);
        // The user's choice is the design's from now on, over later runs and
        // starts.
        connect(plot, &QVPlotWidget::parameterChosen, this, [this](const QString& name) {
            if (plottedType != 0)
                settings->setArrayValue(QVSettingsKeys::PlotParameter, plottedType, name);
        });
        connect(plot, &QVPlotWidget::bandsRequested, this, &QVWindow::onBandsRequested);
        window->setWidget(plot);
        addSubWindow(PlotWindowId, window);
        window->hide();
        place(window, resultsSize(PlotWindowId), Qt::AlignRight | Qt::AlignBottom);
        resultsActions.value(PlotWindowId)->setEnabled(true);
    }
    return static_cast<QVPlotWidget*>(window->widget());
}

// The report's and the plot's first sizes, 800 x 600 and 640 x 480, their
// widths shared in that proportion where the document area cannot hold the
// two side by side, so that the plot, raised last, leaves the report in view.
QSize QVWindow::resultsSize(int key) const
{
    const QSize report(800, 600);
    const QSize plot(640, 480);
    QSize size = key == TextOutputWindowId ? report : plot;
    const int room = mdiArea()->viewport()->width();
    const int both = report.width() + plot.width();
    if (room > 0 && room < both)
        size.setWidth(size.width() * room / both);
    return size;
}

// A window of size, smaller where the document area is, in the given corner
// of the area: the report at the top left and the plot at the bottom right
// keep both title bars in view.
void QVWindow::place(QMdiSubWindow* window, QSize size, Qt::Alignment corner)
{
    const QRect area = mdiArea()->viewport()->rect();
    const QRect placed =
        QStyle::alignedRect(Qt::LeftToRight, corner, size.boundedTo(area.size()), area);
    placeInsideArea(window, placed.topLeft(), placed.size());
}

QTextEdit* QVWindow::textOutput() const
{
    auto* window = qobject_cast<QMdiSubWindow*>(subWindow(TextOutputWindowId));
    return window ? static_cast<QTextEdit*>(window->widget()) : nullptr;
}

QVPlotWidget* QVWindow::plotWidget() const
{
    auto* window = qobject_cast<QMdiSubWindow*>(subWindow(PlotWindowId));
    return window ? static_cast<QVPlotWidget*>(window->widget()) : nullptr;
}

// Save as, Print and Print preview act on the report or the plot. A design's
// window brought to the front becomes the active design, so that "Run
// analysis" computes the design the user is looking at.
void QVWindow::onSubWindowActivated(QMdiSubWindow* subWin)
{
    RynMainWindow::onSubWindowActivated(subWin);
    const int key = activeSubWindowKey();
    const bool output = key == TextOutputWindowId || key == PlotWindowId;
    for (int id : {PrintAction, PrintPreviewAction, SaveAsAction})
        action(id)->setEnabled(output);

    StudySubWindow* window = subWin ? studyWindows.value(subWindowId(subWin)) : nullptr;
    if (window && !window->isHidden() && activeStudyWindow() != window) {
        activateStudy(window->id());
        updateNav();
    }
}

void QVWindow::onReachNumChanged(int n)
{
    auto* window = qobject_cast<ReleaseRecaptureSubWindow*>(activeStudyWindow());
    if (window && window->id() == reaches->studyType())
        window->setNumReaches(n);
}

// The window has hidden itself. When it was the active design, the first
// other design still shown takes its place, or none.
void QVWindow::onStudyWindowClosing(int type)
{
    ryn::NavPanelItem* item = studyItems.value(type);
    const bool wasActive = item && item->active;
    if (item) {
        item->active = false;
        item->setChecked(false);
    }
    if (wasActive) {
        for (StudySubWindow* window : qAsConst(studyWindows)) {
            if (window->id() != type && !window->isHidden()) {
                activateStudy(window->id());
                mdiArea()->setActiveSubWindow(window);
                break;
            }
        }
    }
    updateNav();
}

void QVWindow::doActionSaveAs()
{
    files->saveAs();
}

void QVWindow::doActionPrint()
{
    files->print();
}

void QVWindow::doActionPrintPreview()
{
    files->printPreview();
}

void QVWindow::printPreviewPaintRequested(QPrinter* printer)
{
    files->paintPreview(printer);
}

void QVWindow::onHelpAbout()
{
    QuorvelInfo info(settings, this);
    info.setObjectName(QStringLiteral("Info"));
    info.setModal(true);
    info.exec();
}

// Every shown window at the size of a first opening: the designs cascaded
// from the top left, the report and the plot in their corners, all inside
// the document area.
void QVWindow::onResetWindowGeom()
{
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    int cascaded = 0;
    for (QMdiSubWindow* window : shownSubWindows()) {
        const int key = subWindowId(window);
        if (key == TextOutputWindowId) {
            place(window, resultsSize(key), Qt::AlignLeft | Qt::AlignTop);
        } else if (key == PlotWindowId) {
            place(window, resultsSize(key), Qt::AlignRight | Qt::AlignBottom);
        } else if (StudySubWindow* study = studyWindows.value(key)) {
            placeInsideArea(window, QPoint(cascaded * step, cascaded * step), initialSize(study));
            ++cascaded;
        }
    }
}
