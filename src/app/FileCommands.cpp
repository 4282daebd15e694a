#include "app/FileCommands.h"

#include "app/QVWindow.h"
#include "framework/files/SaveChoice.h"
#include "framework/files/SaveFile.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "plot/QVPlotWidget.h"
#include "studies/common/ReportFile.h"
#include "studies/common/ReportPages.h"
#include "studies/common/ResultsCsv.h"
#include "studies/common/StudySubWindow.h"
#include "studies/design/DesignFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QPrinter>
#include <QTextEdit>

#include <algorithm>

namespace {

// The plot's files, by the save dialog's filters; PNG, the program's habit,
// first.
struct PlotFormat
{
    const char* filter;
    bool (QVPlotWidget::*write)(const QString&, ryn::SaveFailure*);
};

const PlotFormat plotFormats[] = {
    {"PNG Images (*.png)", &QVPlotWidget::exportImage},
    {"SVG Images (*.svg)", &QVPlotWidget::exportSvg},
    {"PDF (*.pdf)", &QVPlotWidget::exportPdf},
};

const char* const designFilter = "Quorvel designs (*.json)";

// A plot is wider than high: its page is turned.
void turnForPlot(QPrinter& printer)
{
    printer.setPageOrientation(QPageLayout::Landscape);
}

} // namespace

FileCommands::FileCommands(QVWindow* window, ryn::RynSettings* settings)
    : QObject(window)
    , window(window)
    , settings(settings)
    , dialogs_(std::make_unique<ryn::WindowDialogs>())
    , reportType(ReportFile::Html)
{}

FileCommands::~FileCommands() = default;

void FileCommands::createActions()
{
    QMenu* file = window->menu(QVWindow::FileMenu);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    window->insertMenuAction(file, separator);

    openDesign_ = new QAction(tr("Open design…"), this);
    openDesign_->setShortcut(QKeySequence::Open);
    openDesign_->setToolTip(tr("Open a design file in its design's window"));
    connect(openDesign_, &QAction::triggered, this, &FileCommands::openDesign);
    window->insertMenuAction(file, openDesign_);

    saveDesign_ = new QAction(tr("Save design as…"), this);
    saveDesign_->setToolTip(tr("Save the active design's inputs and options as a design file"));
    connect(saveDesign_, &QAction::triggered, this, &FileCommands::saveDesignAs);
    window->insertMenuAction(file, saveDesign_);

    exportResults_ = new QAction(tr("Export results…"), this);
    exportResults_->setToolTip(tr("Save the active design's results as a table (CSV)"));
    connect(exportResults_, &QAction::triggered, this, &FileCommands::exportResults);
    file->insertAction(window->action(QVWindow::PrintPreviewAction), exportResults_);
    updateActions();
}

void FileCommands::updateActions()
{
    if (!openDesign_)
        return;
    const StudySubWindow* study = window->activeStudyWindow();
    saveDesign_->setEnabled(study != nullptr);
    exportResults_->setEnabled(study && window->pendingRunType() == 0 &&
                               withResults.contains(study->id()));
}

void FileCommands::noteRunStarted(int type)
{
    withResults.remove(type);
    updateActions();
}

void FileCommands::noteReportWritten(int type)
{
    withResults.insert(type);
    updateActions();
}

void FileCommands::setDialogs(std::unique_ptr<ryn::WindowDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

QString FileCommands::saveFolder(int dirSetting) const
{
    const QString folder = settings->stringValue(dirSetting);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QString FileCommands::designFileName(int type) const
{
    if (designFiles.contains(type))
        return designFiles.value(type);
    const DesignInfo* info = designs::ofStudyType(type);
    return info ? info->name : QStringLiteral("design");
}

void FileCommands::noteDesignFile(int type, const QString& path)
{
    designFiles[type] = QFileInfo(path).completeBaseName();
}

// The proposal is in the folder of the last report or plot saved while such
// a file of the proposed name is still there, else in the last folder of any
// file.
void FileCommands::saveAs()
{
    const StudySubWindow* study = window->activeStudyWindow();
    if (!study)
        return;
    const bool plot = window->activeSubWindowKey() == QVWindow::PlotWindowId;
    const QString name = designFileName(study->id());
    const QString filter =
        plot ? tr(plotFormats[plotType].filter) : ReportFile::filters()[reportType];
    const int dirSetting = plot ? QVSettingsKeys::PlotOutLastDir : QVSettingsKeys::TextOutLastDir;
    QString folder = saveFolder(dirSetting);
    if (!QFileInfo::exists(QDir(folder).filePath(ryn::SaveChoice::proposal(name, filter))))
        folder = saveFolder(QVSettingsKeys::LastDir);
    if (plot)
        savePlot(folder, name);
    else
        saveReport(folder, name);
}

void FileCommands::saveReport(const QString& folder, const QString& name)
{
    const QTextEdit* editor = window->textOutput();
    if (!editor)
        return;
    const QStringList filters = ReportFile::filters();
    const ryn::SaveChoice choice =
        dialogs_->askSave(window, tr("Save Report"), folder, name, filters, reportType);
    if (choice.path.isEmpty())
        return;
    ryn::SaveFailure failure;
    if (!ReportFile::save(*editor->document(), choice.path,
                          ReportFile::formatOf(filters[choice.type]), &failure)) {
        showSaveFailure(choice.path, failure);
        return;
    }
    reportType = choice.type;
    settings->storeDirectoryOf(QVSettingsKeys::TextOutLastDir, choice.path);
}

void FileCommands::savePlot(const QString& folder, const QString& name)
{
    QVPlotWidget* plot = window->plotWidget();
    if (!plot)
        return;
    QStringList filters;
    for (const PlotFormat& format : plotFormats)
        filters << tr(format.filter);
    const ryn::SaveChoice choice =
        dialogs_->askSave(window, tr("Save Graph"), folder, name, filters, plotType);
    if (choice.path.isEmpty())
        return;
    const PlotFormat& format = plotFormats[choice.type];
    ryn::SaveFailure failure;
    if (!(plot->*format.write)(choice.path, &failure)) {
        showSaveFailure(choice.path, failure);
        return;
    }
    plotType = choice.type;
    settings->storeDirectoryOf(QVSettingsKeys::PlotOutLastDir, choice.path);
}

// The report prints its selection only when the user asks for it in the
// dialog, which offers it while there is one.
void FileCommands::print()
{
    const int key = window->activeSubWindowKey();
    QPrinter printer(QPrinter::ScreenResolution);
    if (key == QVWindow::TextOutputWindowId) {
        QTextEdit* editor = window->textOutput();
        if (editor && dialogs_->acceptPrint(&printer, window, tr("Print Document"),
                                            editor->textCursor().hasSelection())) {
            if (printer.printRange() == QPrinter::Selection)
                editor->print(&printer);
            else
                ReportPages::print(*editor->document(), &printer);
            checkPrinted(printer);
        }
    } else if (key == QVWindow::PlotWindowId) {
        QVPlotWidget* plot = window->plotWidget();
        turnForPlot(printer);
        if (plot && dialogs_->acceptPrint(&printer, window, tr("Print Plot"), false)) {
            plot->printPlot(&printer);
            checkPrinted(printer);
        }
    }
}

void FileCommands::printPreview()
{
    if (!window->mdiArea()->currentSubWindow())
        return;
    QPrinter printer(QPrinter::ScreenResolution);
    if (window->activeSubWindowKey() == QVWindow::PlotWindowId)
        turnForPlot(printer);
    dialogs_->preview(&printer, window, [this](QPrinter* pages) { paintPreview(pages); });
}

void FileCommands::paintPreview(QPrinter* printer)
{
    const int key = window->activeSubWindowKey();
    if (key == QVWindow::TextOutputWindowId) {
        if (QTextEdit* editor = window->textOutput())
            ReportPages::print(*editor->document(), printer);
    } else if (key == QVWindow::PlotWindowId) {
        if (QVPlotWidget* plot = window->plotWidget())
            plot->printPlot(printer);
    }
}

// The numbers of the active design's last report, as the command-line
// calculator writes them.
void FileCommands::exportResults()
{
    const StudySubWindow* study = window->activeStudyWindow();
    if (!study || window->pendingRunType() != 0 || !withResults.contains(study->id()))
        return;
    const ryn::SaveChoice choice =
        dialogs_->askSave(window, tr("Export Results"), saveFolder(QVSettingsKeys::LastDir),
                          designFileName(study->id()), {tr("CSV Files (*.csv)")});
    const QString path = choice.path;
    if (path.isEmpty())
        return;
    const QByteArray table = ResultsCsv::table(study->precisionTable()).toUtf8();
    ryn::SaveFailure failure;
    const bool saved = ryn::saveFile(
        path, QIODevice::NotOpen,
        [&table](QIODevice& device) {
            return device.write(table) == table.size() ? QString() : device.errorString();
        },
        &failure);
    if (!saved) {
        showSaveFailure(path, failure);
        return;
    }
    settings->storeDirectoryOf(QVSettingsKeys::LastDir, path);
}

// The file is read and the form takes it before its window is shown, so that
// a file refused changes nothing. Showing the design makes it the active one,
// which points the two dialogs at its stored reach count and options, those
// of the file.
void FileCommands::openDesign()
{
    const QString path = dialogs_->openFileName(
        window, tr("Open Design"), saveFolder(QVSettingsKeys::LastDir), tr(designFilter));
    if (path.isEmpty())
        return;
    Design design;
    QString error;
    if (!DesignFile::readFile(path, &design, &error)) {
        showCritical(tr("Can't open the design \"%1\": %2").arg(path, error));
        return;
    }
    const DesignInfo& info = designs::info(design.kind);
    StudySubWindow* study = window->studyWindow(info.studyType);
    if (!study || !study->loadDesign(design)) {
        showCritical(tr("Can't open the design \"%1\": its inputs do not fit the %2 form.")
                         .arg(path, info.title));
        return;
    }
    window->showStudy(info.studyType);
    noteDesignFile(info.studyType, path);
    settings->storeDirectoryOf(QVSettingsKeys::LastDir, path);
}

void FileCommands::saveDesignAs()
{
    const StudySubWindow* study = window->activeStudyWindow();
    if (!study)
        return;
    const ryn::SaveChoice choice =
        dialogs_->askSave(window, tr("Save Design"), saveFolder(QVSettingsKeys::LastDir),
                          designFileName(study->id()), {tr(designFilter)});
    const QString path = choice.path;
    if (path.isEmpty())
        return;
    QString error;
    if (!DesignFile::writeFile(path, study->design(), &error)) {
        showCritical(tr("Can't save the design in \"%1\": %2").arg(path, error));
        return;
    }
    noteDesignFile(study->id(), path);
    settings->storeDirectoryOf(QVSettingsKeys::LastDir, path);
}

void FileCommands::showSaveFailure(const QString& path, const ryn::SaveFailure& failure)
{
    if (failure.stage == ryn::SaveFailure::Open)
        showCritical(QStringLiteral("Can't open \"%1\" for writing.").arg(path));
    else
        showCritical(tr("Can't write \"%1\": %2.").arg(path, failure.reason));
}

void FileCommands::showCritical(const QString& text)
{
    QMessageBox::critical(window, window->windowTitle(), text, QMessageBox::Ok);
}

// A printer that failed (a PDF file it could not create) says so only in its
// state.
void FileCommands::checkPrinted(const QPrinter& printer)
{
    if (printer.printerState() == QPrinter::Error)
        showCritical(tr("The printer reported an error; nothing was printed."));
}
