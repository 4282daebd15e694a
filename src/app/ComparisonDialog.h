#pragma once

#include "framework/style/RynStyle.h"
#include "studies/comparison/DesignComparison.h"

#include <QDialog>
#include <QList>

#include <atomic>
#include <memory>

class ComparisonPlot;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;
class QThread;

namespace ryn {
class WindowDialogs;
}

// "Compare designs…": two to six designs side by side, each with the
// quantity it is judged on, compared on the fewest fish that meet a target
// or on the measure each reaches with a budget of fish. The open designs are
// listed (ticked to compare), and design files may be added. The answer runs
// on a thread of its own; the plot shows each design's measure against the
// fish it releases with the target's line, the report below it the answer
// per design. Both are saved, printed and exported from the dialog's
// buttons; a name typed without an extension gets the chosen type's.
class ComparisonDialog : public QDialog
{
    Q_OBJECT

public:
    // designs are the open designs, by their windows' titles.
    explicit ComparisonDialog(const QList<ComparedDesign>& designs, QWidget* parent = nullptr);
    ~ComparisonDialog() override;

    // Adds a design with its label (a design file's name), ticked.
    void addDesign(const ComparedDesign& design);

    QTableWidget* designTable() const { return designs; }
    QComboBox* modeChoice() const { return mode; }
    QComboBox* measureChoice() const { return measure; }
    QLineEdit* valueField() const { return value; }
    QLineEdit* budgetField() const { return budget; }
    ComparisonPlot* comparisonPlot() const { return plot; }
    QTextEdit* reportView() const { return report; }
    bool isRunning() const { return worker != nullptr; }
    const Comparison& lastComparison() const { return shown; }
    QString messageText() const;
    // The file and print dialogs asked, Qt's own until a test puts its
    // answers in their place.
    void setDialogs(std::unique_ptr<ryn::WindowDialogs> dialogs);

public slots:
    // Compares the ticked designs with the dialog's choices; a choice that
    // cannot be read is said in red below the choices.
    void compare();

signals:
    // A comparison ended, answered or not.
    void comparisonEnded();

private slots:
    void onCompared();
    void onModeChanged();
    void onAddFile();
    void onSavePlot();
    void onSaveReport();
    void onExportCsv();
    void onPrint();

private:
    void createControls();
    bool readRequest(ComparisonRequest* request, QList<ComparedDesign>* chosen, QString* error);
    void showError(const QString& text);

    QList<ComparedDesign> candidates;
    QTableWidget* designs = nullptr;
    QComboBox* mode = nullptr;
    QComboBox* measure = nullptr;
    QLineEdit* value = nullptr;
    QLineEdit* budget = nullptr;
    QPushButton* compareButton = nullptr;
    QLabel* message = nullptr;
    ComparisonPlot* plot = nullptr;
    QTextEdit* report = nullptr;
    QList<QPushButton*> outputButtons;

    const ryn::RynStyle style;
    std::unique_ptr<ryn::WindowDialogs> dialogs;
    QThread* worker = nullptr;
    std::atomic<bool> cancel{false};
    // What the worker computes, read once it has finished.
    bool comparedOk = false;
    QString compareError;
    Comparison computed;
    QList<ComparisonCurve> computedCurves;
    Comparison shown;
};
