#pragma once

#include "studies/design/Design.h"
#include "studies/sensitivity/Sensitivity.h"

#include <QDialog>

#include <memory>

class GuessWorker;
class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QTableWidget;
class QTextDocument;
class QTimer;
class StudySubWindow;

namespace ryn {
class WindowDialogs;
}

// "Sensitivity…": which guess matters for the design of a study window. The
// user picks a quantity, how its precision is measured, the spread by which
// each input is varied and the point of the range; every input is varied on
// its own on a worker thread, and the answer shows as a tornado chart (the
// chart widget is given by the window, which draws it from analysed()) above
// a table, the inputs that matter most first. Save as writes the table (CSV,
// JSON, text), the chart (PNG) or both (PDF), a name typed without an
// extension getting the chosen type's; Print prints both; Copy puts the table
// on the clipboard as text and the chart as an image.
class SensitivityDialog : public QDialog
{
    Q_OBJECT

public:
    SensitivityDialog(StudySubWindow* window, QWidget* chart, QWidget* parent = nullptr);
    ~SensitivityDialog() override;

    const Sensitivity& result() const { return shown; }
    bool isAnalysing() const;

    // Writes the answer to path in format, or in the format of its suffix
    // when format is empty: csv, json, txt, png (the chart) or pdf (the table
    // and the chart); false with *error when it cannot be written or nothing
    // has been analysed.
    bool saveTo(const QString& path, QString* error, const QString& format = QString()) const;
    // The file and print dialogs asked, Qt's own until a test puts its
    // answers in their place.
    void setDialogs(std::unique_ptr<ryn::WindowDialogs> dialogs);
    // The answer as a document: heading, table and chart.
    void printOn(QPagedPaintDevice* device) const;

    QComboBox* quantityBox() const { return quantity; }
    QComboBox* measureBox() const { return measure; }
    QLineEdit* spreadEdit() const { return spread; }
    QComboBox* pointBox() const { return point; }
    QPushButton* analyseButton() const { return analyse; }
    QTableWidget* table() const { return table_; }
    QLabel* messageLabel() const { return message; }

signals:
    // An answer is shown: the chart should draw result().
    void analysed();

public slots:
    void onAnalyse();
    void onSaveAs();
    void onPrint();
    void onCopy();

private slots:
    void onAnalysed();

private:
    void createControls(QWidget* chart);
    void fillChoices();
    void fillTable();
    void showError(const QString& text);
    QString heading() const;
    QTextDocument* document() const;

    StudySubWindow* window;
    Design design;
    QWidget* chart;
    Sensitivity shown;
    Sensitivity computed;
    bool computedOk = false;
    QString computeError;

    QComboBox* quantity;
    QComboBox* measure;
    QLineEdit* spread;
    QComboBox* point;
    QPushButton* analyse;
    QTableWidget* table_;
    QLabel* message;
    GuessWorker* worker;
    QTimer* progressTimer;
    std::unique_ptr<ryn::WindowDialogs> dialogs;
};
