#pragma once

#include "framework/window/WindowDialogs.h"

#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

class QAction;
class QPrinter;
class QVWindow;

namespace ryn {
class RynSettings;
struct SaveFailure;
} // namespace ryn

// The main window's work with files and printers: Save as, Print and Print
// preview of the report or the plot (whichever of the two windows was
// activated last), the active design's results as a CSV table ("Export
// results…"), and design files ("Open design…", "Save design as…"). Every
// file is written whole or not at all; a file that cannot be written or read
// is named in a box with the reason, and nothing changes then, not even the
// remembered folders. Every save dialog proposes a name of the design's (the
// design file it was last opened from or saved to, else the design's name in
// design files, "paired") with the extension of the type it starts on, and a
// name typed without an extension gets the chosen type's. The dialogs are
// asked through WindowDialogs, which tests replace.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    // window and settings must outlive the commands.
    FileCommands(QVWindow* window, ryn::RynSettings* settings);
    ~FileCommands() override;

    // Puts "Open design…" and "Save design as…" into the File menu below "Run
    // analysis", and "Export results…" below "Save as".
    void createActions();
    // Enables "Export results…" exactly while the active design has results
    // and no run is pending, and "Save design as…" while a design is active.
    void updateActions();

    // A design's results can be exported from the end of its report until
    // its next run starts.
    void noteRunStarted(int type);
    void noteReportWritten(int type);

    void setDialogs(std::unique_ptr<ryn::WindowDialogs> dialogs);
    ryn::WindowDialogs* dialogs() const { return dialogs_.get(); }

    QAction* openDesignAction() const { return openDesign_; }
    QAction* saveDesignAction() const { return saveDesign_; }
    QAction* exportResultsAction() const { return exportResults_; }

    // The folder stored under dirSetting, or the home folder when none is
    // stored.
    QString saveFolder(int dirSetting) const;
    // The name the save dialogs propose for the design of that type, without
    // an extension.
    QString designFileName(int type) const;

    void saveAs();
    void print();
    void printPreview();
    // Draws what the preview shows: the report, the plot, or nothing.
    void paintPreview(QPrinter* printer);
    void exportResults();
    void openDesign();
    void saveDesignAs();

private:
    void saveReport(const QString& folder, const QString& name);
    void savePlot(const QString& folder, const QString& name);
    // The design file of type was read or written at path.
    void noteDesignFile(int type, const QString& path);
    void printPlotOrReport(QPrinter* printer);
    // The box for a file not saved: "Can't open" when it could not be opened,
    // "Can't write" with the reason when its content could not be written.
    void showSaveFailure(const QString& path, const ryn::SaveFailure& failure);
    void showCritical(const QString& text);
    void checkPrinted(const QPrinter& printer);

    QVWindow* window;
    ryn::RynSettings* settings;
    std::unique_ptr<ryn::WindowDialogs> dialogs_;
    QSet<int> withResults;
    QMap<int, QString> designFiles;
    // The types last chosen in the report's and the plot's save dialogs: the
    // next one starts there. A report starts as HTML, which every type but
    // the PDF's holds.
    int reportType;
    int plotType = 0;
    QAction* openDesign_ = nullptr;
    QAction* saveDesign_ = nullptr;
    QAction* exportResults_ = nullptr;
};
