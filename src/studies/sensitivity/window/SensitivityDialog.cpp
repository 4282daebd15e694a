#include "studies/sensitivity/window/SensitivityDialog.h"

#include "framework/files/SaveChoice.h"
#include "framework/files/SaveFile.h"
#include "framework/window/MessageLine.h"
#include "framework/window/ScreenFit.h"
#include "framework/window/WindowDialogs.h"
#include "studies/common/StudySubWindow.h"
#include "studies/planning/Planner.h"
#include "studies/sensitivity/SensitivityTables.h"
#include "studies/sensitivity/window/GuessWorker.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

SensitivityDialog::SensitivityDialog(StudySubWindow* window, QWidget* chart, QWidget* parent)
    : QDialog(parent)
    , window(window)
    , design(window->design())
    , chart(chart)
    , worker(new GuessWorker(this))
    , progressTimer(new QTimer(this))
    , dialogs(std::make_unique<ryn::WindowDialogs>())
{
    setWindowTitle(tr("Sensitivity: %1").arg(window->title()));
    createControls(chart);
    fillChoices();
    ryn::screenfit::fitToScreen(this, QSize(760, 720));
    progressTimer->setInterval(100);
    connect(progressTimer, &QTimer::timeout, this, [this] {
        if (worker->steps() > 1)
            message->setText(
                tr("Varying input %1 of %2...").arg(worker->step() + 1).arg(worker->steps()));
    });
    connect(worker, &GuessWorker::finished, this, &SensitivityDialog::onAnalysed);
    if (quantity->count() > 0)
        QTimer::singleShot(0, this, &SensitivityDialog::onAnalyse);
}

// The work in progress writes into this dialog: it is cancelled and waited
// for before the dialog's members go.
SensitivityDialog::~SensitivityDialog()
{
    delete worker;
}

bool SensitivityDialog::isAnalysing() const
{
    return worker->isRunning();
}

void SensitivityDialog::createControls(QWidget* chart)
{
    quantity = new QComboBox;
    measure = new QComboBox;
    // Every measure a target can name, in the order of PlanTarget::Measure.
    for (int m = 0; m < PlanTarget::measureKeys().size(); ++m)
        measure->addItem(PlanTarget::measureName(static_cast<PlanTarget::Measure>(m)), m);
    spread = new QLineEdit(QStringLiteral("10"));
    spread->setToolTip(tr("Each input is lowered and raised by this percentage of its value, "
                          "kept to what it may be"));
    point = new QComboBox;
    analyse = new QPushButton(tr("Analyse"));
    analyse->setDefault(true);
    connect(analyse, &QPushButton::clicked, this, &SensitivityDialog::onAnalyse);

    auto* choices = new QHBoxLayout;
    auto* form = new QFormLayout;
    form->addRow(tr("Quantity:"), quantity);
    form->addRow(tr("Measure:"), measure);
    auto* form2 = new QFormLayout;
    form2->addRow(tr("Spread (%):"), spread);
    form2->addRow(tr("At point:"), point);
    choices->addLayout(form);
    choices->addLayout(form2);
    choices->addWidget(analyse, 0, Qt::AlignBottom);

    table_ = new QTableWidget(0, 7);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(chart);
    splitter->addWidget(table_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    message = new QLabel;
    message->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons->addButton(tr("Save as…"), QDialogButtonBox::ActionRole), &QPushButton::clicked,
            this, &SensitivityDialog::onSaveAs);
    connect(buttons->addButton(tr("Print…"), QDialogButtonBox::ActionRole), &QPushButton::clicked,
            this, &SensitivityDialog::onPrint);
    connect(buttons->addButton(tr("Copy"), QDialogButtonBox::ActionRole), &QPushButton::clicked,
            this, &SensitivityDialog::onCopy);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(splitter, 1);
    layout->addWidget(message);
    layout->addWidget(buttons);
}

void SensitivityDialog::fillChoices()
{
    QString error;
    const QStringList quantities = planner::quantities(design, &error);
    quantity->clear();
    quantity->addItems(quantities);
    if (quantities.isEmpty())
        showError(error);
    point->clear();
    if (design.inputs.rangeHolder().isEmpty()) {
        point->addItem(tr("the design"));
    } else {
        for (double x : design.inputs.points())
            point->addItem(QStringLiteral("%1 = %2").arg(design.inputs.rangeName()).arg(x));
    }
    point->setEnabled(point->count() > 1);
    analyse->setEnabled(!quantities.isEmpty());
}

void SensitivityDialog::showError(const QString& text)
{
    ryn::showMessage(message, text, true);
}

void SensitivityDialog::onAnalyse()
{
    if (worker->isRunning() || quantity->count() == 0)
        return;
    bool number = false;
    const double percent = spread->text().trimmed().toDouble(&number);
    if (!number || !(percent > 0 && percent < 100)) {
        showError(tr("The spread is a percentage above 0 and below 100: \"%1\" was given")
                      .arg(spread->text()));
        spread->setFocus();
        return;
    }
    SensitivityRequest request;
    request.target.quantity = quantity->currentText();
    request.target.measure = static_cast<PlanTarget::Measure>(measure->currentData().toInt());
    request.spread = percent / 100;
    request.point = std::max(0, point->currentIndex());
    analyse->setEnabled(false);
    ryn::showMessage(message, tr("Varying the inputs..."));
    const Design analysed = design;
    worker->start([this, analysed, request](RunMonitor& monitor) {
        computedOk = sensitivity::analyse(analysed, request, &computed, &computeError, &monitor);
    });
    progressTimer->start();
}

void SensitivityDialog::onAnalysed()
{
    progressTimer->stop();
    analyse->setEnabled(true);
    if (!computedOk) {
        showError(computeError);
        return;
    }
    shown = computed;
    ryn::showMessage(message, tr("%1. At the design's own inputs: %2.")
                                  .arg(shown.title(), sensitivitytables::measureText(shown.base)));
    fillTable();
    emit analysed();
}

void SensitivityDialog::fillTable()
{
    const QString name = PlanTarget::measureName(shown.request.target.measure);
    table_->setHorizontalHeaderLabels({tr("Input"), tr("Value"), tr("Low"), tr("High"),
                                       tr("%1 at low").arg(name), tr("%1 at high").arg(name),
                                       tr("Change")});
    table_->setRowCount(shown.inputs.size());
    for (int r = 0; r < shown.inputs.size(); ++r) {
        const SensitivityEntry& entry = shown.inputs[r];
        const QStringList cells{entry.key,
                                sensitivitytables::inputText(entry.value),
                                sensitivitytables::inputText(entry.low),
                                sensitivitytables::inputText(entry.high),
                                sensitivitytables::measureText(entry.measureLow),
                                sensitivitytables::measureText(entry.measureHigh),
                                sensitivitytables::measureText(entry.swing(shown.base))};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!entry.message.isEmpty())
                item->setToolTip(entry.message);
            table_->setItem(r, c, item);
        }
    }
}

QString SensitivityDialog::heading() const
{
    return tr("%1: sensitivity of the %2").arg(window->title(), shown.title());
}

QTextDocument* SensitivityDialog::document() const
{
    auto* document = new QTextDocument;
    QTextCursor cursor(document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(heading(), bold);
    cursor.insertBlock();
    cursor.insertText(
        tr("At the design's own inputs: %1").arg(sensitivitytables::measureText(shown.base)),
        QTextCharFormat());
    cursor.insertBlock();
    if (chart != nullptr) {
        document->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("chart")),
                              chart->grab().toImage());
        cursor.insertImage(QStringLiteral("chart"));
        cursor.insertBlock();
    }
    QTextTableFormat format;
    format.setCellPadding(2);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setHeaderRowCount(1);
    QTextTable* grid = cursor.insertTable(table_->rowCount() + 1, table_->columnCount(), format);
    for (int c = 0; c < table_->columnCount(); ++c)
        grid->cellAt(0, c).firstCursorPosition().insertText(table_->horizontalHeaderItem(c)->text(),
                                                            bold);
    for (int r = 0; r < table_->rowCount(); ++r) {
        for (int c = 0; c < table_->columnCount(); ++c)
            grid->cellAt(r + 1, c).firstCursorPosition().insertText(table_->item(r, c)->text());
    }
    return document;
}

void SensitivityDialog::printOn(QPagedPaintDevice* device) const
{
    const std::unique_ptr<QTextDocument> printed(document());
    printed->print(device);
}

void SensitivityDialog::setDialogs(std::unique_ptr<ryn::WindowDialogs> dialogs)
{
    this->dialogs = std::move(dialogs);
}

bool SensitivityDialog::saveTo(const QString& path, QString* error, const QString& format) const
{
    if (shown.inputs.isEmpty()) {
        *error = tr("Nothing has been analysed yet");
        return false;
    }
    const QString suffix = format.isEmpty() ? QFileInfo(path).suffix().toLower() : format;
    const QStringList suffixes = {QStringLiteral("csv"), QStringLiteral("json"),
                                  QStringLiteral("txt"), QStringLiteral("png"),
                                  QStringLiteral("pdf")};
    if (!suffixes.contains(suffix)) {
        *error = tr("%1 has no suffix of the formats: .csv, .json, .txt, .png or .pdf").arg(path);
        return false;
    }
    ryn::SaveFailure failure;
    const bool saved = ryn::saveFile(
        path, QIODevice::WriteOnly,
        [&](QIODevice& device) {
            QByteArray content;
            if (suffix == QStringLiteral("png")) {
                if (chart == nullptr || !chart->grab().toImage().save(&device, "PNG"))
                    return tr("the chart could not be drawn as an image");
                return QString();
            }
            if (suffix == QStringLiteral("pdf")) {
                QPdfWriter writer(&device);
                writer.setTitle(heading());
                printOn(&writer);
                return QString();
            }
            if (suffix == QStringLiteral("csv"))
                content = sensitivitytables::csv(shown).toUtf8();
            else if (suffix == QStringLiteral("json"))
                content = QJsonDocument(sensitivitytables::json(shown)).toJson();
            else
                content = sensitivitytables::text(shown).toUtf8();
            return device.write(content) == content.size() ? QString() : device.errorString();
        },
        &failure);
    if (!saved)
        *error = tr("Cannot save %1: %2").arg(path, failure.reason);
    return saved;
}

void SensitivityDialog::onSaveAs()
{
    const QStringList filters = {tr("CSV table (*.csv)"), tr("JSON (*.json)"), tr("Text (*.txt)"),
                                 tr("Chart as PNG image (*.png)"),
                                 tr("Table and chart as PDF (*.pdf)")};
    const ryn::SaveChoice choice = dialogs->askSave(
        this, tr("Save the sensitivity"), QDir::homePath(),
        ryn::SaveChoice::fileNameOf(window->title()) + QStringLiteral("-sensitivity"), filters);
    if (choice.path.isEmpty())
        return;
    QString error;
    if (!saveTo(choice.path, &error, ryn::SaveChoice::extensionsOf(filters[choice.type]).first()))
        QMessageBox::warning(this, windowTitle(), error);
}

void SensitivityDialog::onPrint()
{
    if (shown.inputs.isEmpty())
        return;
    QPrinter printer;
    if (dialogs->acceptPrint(&printer, this, tr("Print the sensitivity"), false))
        printOn(&printer);
}

void SensitivityDialog::onCopy()
{
    if (shown.inputs.isEmpty())
        return;
    auto* data = new QMimeData;
    data->setText(sensitivitytables::text(shown));
    if (chart != nullptr)
        data->setImageData(chart->grab().toImage());
    QApplication::clipboard()->setMimeData(data);
}
