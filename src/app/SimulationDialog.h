#pragma once

#include "framework/style/RynStyle.h"
#include "ui_SimulationDialog.h"

#include <QDialog>
#include <QString>

#include <atomic>
#include <memory>

class DesignSimulation;
class QProgressDialog;
class QPushButton;
class QThread;
class QTimer;
struct SimulationCheck;

namespace ryn {
class WindowDialogs;
}

// "Check by simulation…": checks the predicted precision of the design that
// was active when the dialog opened by drawing data sets at its true values
// and fitting them as the study would. The user chooses the number of data
// sets, the seed (shown, so that a check can be repeated, and settable), the
// point of a ranged input and the quantity whose estimates the histogram
// shows. Where the design's test of an effect gives a quantity a null value,
// the report sets the share of fits that reject it beside the predicted
// power. The check runs on a thread of its own behind a progress dialog with
// Cancel, every core drawing data sets, so the main window keeps answering;
// its report fills the upper part, the histogram the lower. "Save Report…"
// writes the report in the report formats and "Print…" prints it, as the main
// window does the design's report.
class SimulationDialog : public QDialog, public Ui_SimulationDialog
{
    Q_OBJECT

public:
    // simulation holds the design's record; designTitle heads the report and
    // the message boxes; dialogs (the main window's, which must outlive this
    // dialog) ask for the file to save to and the printer.
    SimulationDialog(std::unique_ptr<DesignSimulation> simulation, const QString& designTitle,
                     ryn::WindowDialogs* dialogs, QWidget* parent = nullptr);
    // Cancels a check in progress and waits for it.
    ~SimulationDialog() override;

    bool isRunning() const { return worker != nullptr; }
    // The last check completed; null before the first.
    const SimulationCheck* lastCheck() const { return shown.get(); }
    QProgressDialog* progressDialog() const { return progress; }

public slots:
    // Starts a check with the dialog's choices; a seed that is not a whole
    // number the generator takes is refused with a box. Ignored while a
    // check runs.
    void simulate();

signals:
    // A check ended: completed, cancelled or failed.
    void checkEnded();

private slots:
    void onCheckEnded();
    void onNewSeed();
    void showHistogram(int quantity);
    void showProgress();
    void onSaveReport();
    void onPrint();

private:
    void placeInScrollingArea();
    void fillChoices();
    void setRunning(bool running);
    void showReport();

    std::unique_ptr<DesignSimulation> simulation;
    QString designTitle;
    ryn::WindowDialogs* dialogs;
    ryn::RynStyle style;
    QPushButton* saveButton;
    QPushButton* printButton;
    QProgressDialog* progress;
    QTimer* progressTimer;
    QThread* worker = nullptr;
    // Shared with the worker while it runs.
    std::atomic<int> dataSetsDone{0};
    std::atomic<bool> cancelFlag{false};
    std::unique_ptr<SimulationCheck> outcome;
    QString failure;
    std::unique_ptr<SimulationCheck> shown;
    bool shownBefore = false;
};
