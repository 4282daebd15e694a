#pragma once

#include "studies/design/Design.h"
#include "studies/sensitivity/Band.h"

#include <QDialog>

class GuessWorker;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Bands…" beside the plot's parameter selector: how far the half-width of
// the plotted quantity can go when some inputs are only known to lie in
// intervals ("P2=0.5..0.8, S1=0.8..0.9"). The band of the ranged design is
// computed on a worker thread and listed point by point; the window shades
// it on the plot from computed().
class BandDialog : public QDialog
{
    Q_OBJECT

public:
    // design: the design whose run the plot shows; quantity: the plotted
    // parameter.
    BandDialog(const Design& design, const QString& quantity, const QString& designTitle,
               QWidget* parent = nullptr);
    ~BandDialog() override;

    const Band& band() const { return shown; }
    bool isComputing() const;

    QLineEdit* intervalsEdit() const { return intervals; }
    QComboBox* measureBox() const { return measure; }
    QPushButton* computeButton() const { return compute; }
    QTableWidget* table() const { return table_; }
    QLabel* messageLabel() const { return message; }

signals:
    // A band was computed: the plot should shade band().
    void computed();
    // "Clear" was pressed: the plot should drop its band.
    void cleared();

public slots:
    void onCompute();

private slots:
    void onComputed();

private:
    void showError(const QString& text);
    void fillTable();

    Design design;
    QString quantity;
    Band shown;
    Band found;
    bool foundOk = false;
    QString foundError;

    QLineEdit* intervals;
    QComboBox* measure;
    QPushButton* compute;
    QTableWidget* table_;
    QLabel* message;
    GuessWorker* worker;
};
