#include "app/ComparisonDialog.h"

#include "framework/files/SaveChoice.h"
#include "framework/files/SaveFile.h"
#include "framework/window/MessageLine.h"
#include "framework/window/ScreenFit.h"
#include "framework/window/WindowDialogs.h"
#include "plot/ComparisonPlot.h"
#include "studies/common/ReportFile.h"
#include "studies/common/RunMonitor.h"
#include "studies/comparison/window/ComparisonReport.h"
#include "studies/design/DesignFile.h"
#include "studies/planning/Planner.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QVBoxLayout>

namespace {

// The points of each design's curve in the plot.
constexpr int curvePoints = 24;

// A comparison on the worker thread sees only the dialog's cancel.
class CancelMonitor : public RunMonitor
{
public:
    explicit CancelMonitor(const std::atomic<bool>& cancel)
        : cancel(cancel)
    {}

    void setTotalSteps(int) override {}
    void setStep(int) override {}
    bool isCanceled() const override { return cancel; }
    void error(const QString&) override {}
    void setCanceled(bool) override {}

private:
    const std::atomic<bool>& cancel;
};

enum Column { CompareColumn, DesignColumn, QuantityColumn };

} // namespace

ComparisonDialog::ComparisonDialog(const QList<ComparedDesign>& designs, QWidget* parent)
    : QDialog(parent)
    , dialogs(std::make_unique<ryn::WindowDialogs>())
{
    setWindowTitle(tr("Compare designs"));
    createControls();
    for (const ComparedDesign& design : designs)
        addDesign(design);
    onModeChanged();
    ryn::screenfit::fitToScreen(this, QSize(1100, 940));
}

void ComparisonDialog::setDialogs(std::unique_ptr<ryn::WindowDialogs> dialogs)
{
    this->dialogs = std::move(dialogs);
}

ComparisonDialog::~ComparisonDialog()
{
    if (worker != nullptr) {
        cancel = true;
        worker->wait();
    }
}

void ComparisonDialog::createControls()
{
    designs = new QTableWidget(0, 3);
    designs->setHorizontalHeaderLabels({tr("Compare"), tr("Design"), tr("Quantity")});
    designs->horizontalHeader()->setSectionResizeMode(DesignColumn, QHeaderView::Stretch);
    designs->verticalHeader()->hide();
    designs->setSelectionMode(QAbstractItemView::NoSelection);
    designs->setMaximumHeight(190);
    designs->setToolTip(tr("Tick two to six designs and choose the estimate each is judged on"));
    auto* addFile = new QPushButton(tr("Add design file…"));
    connect(addFile, &QPushButton::clicked, this, &ComparisonDialog::onAddFile);

    mode = new QComboBox;
    mode->addItem(tr("Fewest fish for a target"));
    mode->addItem(tr("Measure with a budget of fish"));
    connect(mode, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ComparisonDialog::onModeChanged);
    measure = new QComboBox;
    for (int m = PlanTarget::StandardError; m <= PlanTarget::Power; ++m)
        measure->addItem(PlanTarget::measureName(static_cast<PlanTarget::Measure>(m)));
    measure->setCurrentIndex(PlanTarget::HalfWidth95);
    value = new QLineEdit(QStringLiteral("0.05"));
    value->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), value));
    value->setToolTip(tr("The target: at most this value of the measure, at least this power"));
    budget = new QLineEdit(QStringLiteral("3000"));
    budget->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), budget));
    budget->setToolTip(tr("The fish every design releases in all, its release sizes scaled "
                          "together"));
    auto* form = new QFormLayout;
    form->addRow(tr("Compare on:"), mode);
    form->addRow(tr("Measure:"), measure);
    form->addRow(tr("Target:"), value);
    form->addRow(tr("Budget (fish):"), budget);
    compareButton = new QPushButton(tr("Compare"));
    compareButton->setDefault(true);
    connect(compareButton, &QPushButton::clicked, this, &ComparisonDialog::compare);
    message = new QLabel;
    message->setWordWrap(true);

    plot = new ComparisonPlot;
    plot->setMinimumHeight(300);
    report = new QTextEdit;
    report->setReadOnly(true);
    auto* results = new QSplitter(Qt::Vertical);
    results->addWidget(plot);
    results->addWidget(report);
    results->setStretchFactor(0, 1);
    results->setStretchFactor(1, 1);

    auto* buttons = new QHBoxLayout;
    const QList<QPair<QString, void (ComparisonDialog::*)()>> outputs = {
        {tr("Save plot…"), &ComparisonDialog::onSavePlot},
        {tr("Save table…"), &ComparisonDialog::onSaveReport},
        {tr("Export CSV…"), &ComparisonDialog::onExportCsv},
        {tr("Print…"), &ComparisonDialog::onPrint}};
    for (const auto& [text, slot] : outputs) {
        auto* button = new QPushButton(text);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
        outputButtons << button;
    }
    buttons->addStretch();
    auto* close = new QPushButton(tr("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(close);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(designs);
    left->addWidget(addFile, 0, Qt::AlignLeft);
    top->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addWidget(compareButton, 0, Qt::AlignRight);
    right->addStretch();
    top->addLayout(right, 2);
    // On a low screen the choices, the plot and the table scroll; the buttons
    // stay below them in view.
    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->addLayout(top);
    contentLayout->addWidget(message);
    contentLayout->addWidget(results, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ryn::screenfit::scrolling(content), 1);
    layout->addLayout(buttons);
}

void ComparisonDialog::addDesign(const ComparedDesign& design)
{
    const int row = designs->rowCount();
    candidates.append(design);
    designs->insertRow(row);
    auto* tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    tick->setCheckState(row < comparison::maximumDesigns ? Qt::Checked : Qt::Unchecked);
    designs->setItem(row, CompareColumn, tick);
    auto* name = new QTableWidgetItem(design.label);
    name->setFlags(Qt::ItemIsEnabled);
    designs->setItem(row, DesignColumn, name);
    auto* quantity = new QComboBox;
    QString error;
    quantity->addItems(planner::quantities(design.design, &error));
    if (quantity->count() == 0)
        quantity->setToolTip(error);
    // The design's own quantity first: the ratio it is built to estimate.
    for (const QString& ratio : EffectTest::ratioQuantities()) {
        if (quantity->findText(ratio) >= 0)
            quantity->setCurrentText(ratio);
    }
    if (!design.quantity.isEmpty() && quantity->findText(design.quantity) >= 0)
        quantity->setCurrentText(design.quantity);
    designs->setCellWidget(row, QuantityColumn, quantity);
}

void ComparisonDialog::onModeChanged()
{
    const bool withBudget = mode->currentIndex() == ComparisonRequest::Budget;
    budget->setEnabled(withBudget);
    value->setPlaceholderText(withBudget ? tr("none") : QString());
}

bool ComparisonDialog::readRequest(ComparisonRequest* request, QList<ComparedDesign>* chosen,
                                   QString* error)
{
    for (int row = 0; row < designs->rowCount(); ++row) {
        if (designs->item(row, CompareColumn)->checkState() != Qt::Checked)
            continue;
        ComparedDesign design = candidates[row];
        design.quantity =
            static_cast<QComboBox*>(designs->cellWidget(row, QuantityColumn))->currentText();
        if (design.quantity.isEmpty()) {
            *error = tr("%1 cannot be computed as it stands: complete its inputs first")
                         .arg(design.label);
            return false;
        }
        chosen->append(design);
    }
    request->mode = static_cast<ComparisonRequest::Mode>(mode->currentIndex());
    request->measure = static_cast<PlanTarget::Measure>(measure->currentIndex());
    bool number = value->text().isEmpty() && request->mode == ComparisonRequest::Budget;
    request->value = value->text().isEmpty() ? 0.0 : value->text().toDouble(&number);
    if (!number) {
        *error = tr("The target \"%1\" is no number: give a value of the %2 such as 0.05")
                     .arg(value->text(), measure->currentText());
        return false;
    }
    if (request->mode == ComparisonRequest::Budget)
        request->budget = budget->text().toLongLong();
    return true;
}

void ComparisonDialog::showError(const QString& text)
{
    ryn::showMessage(message, text, true);
}

void ComparisonDialog::compare()
{
    if (worker != nullptr)
        return;
    ComparisonRequest request;
    QList<ComparedDesign> chosen;
    QString error;
    if (!readRequest(&request, &chosen, &error)) {
        showError(error);
        return;
    }
    cancel = false;
    compareButton->setEnabled(false);
    ryn::showMessage(message, tr("Comparing..."));
    worker = QThread::create([this, request, chosen] {
        CancelMonitor monitor(cancel);
        computedCurves.clear();
        comparedOk = comparison::compare(chosen, request, &computed, &compareError, &monitor);
        if (!comparedOk)
            return;
        const QPair<qint64, qint64> span = comparison::fishSpan(computed);
        for (const ComparedDesign& design : chosen)
            computedCurves.append(
                comparison::curve(design, request, span.first, span.second, curvePoints, &monitor));
    });
    connect(worker, &QThread::finished, this, &ComparisonDialog::onCompared);
    worker->start();
}

void ComparisonDialog::onCompared()
{
    worker->deleteLater();
    worker = nullptr;
    compareButton->setEnabled(true);
    if (!comparedOk) {
        showError(compareError);
        emit comparisonEnded();
        return;
    }
    shown = computed;
    ryn::showMessage(message, comparison::verdict(shown));
    QList<ComparisonPlot::Curve> curves;
    for (const ComparisonCurve& curve : computedCurves)
        curves.append({curve.label, QVector<double>(curve.fish.begin(), curve.fish.end()),
                       QVector<double>(curve.measure.begin(), curve.measure.end())});
    const PlanTarget::Measure chosen = shown.request.measure;
    plot->setCurves(curves, PlanTarget::measureName(chosen), chosen == PlanTarget::Power,
                    shown.request.value);
    report->clear();
    QTextCursor cursor(report->document());
    ComparisonReport(style, shown).write(cursor);
    for (QPushButton* button : outputButtons)
        button->setEnabled(true);
    emit comparisonEnded();
}

void ComparisonDialog::onAddFile()
{
    const QString path = dialogs->openFileName(this, tr("Add design file"), QDir::homePath(),
                                               tr("Design files (*.json)"));
    if (path.isEmpty())
        return;
    ComparedDesign design;
    QString error;
    if (!DesignFile::readFile(path, &design.design, &error)) {
        QMessageBox::warning(this, windowTitle(), QFileInfo(path).fileName() + ": " + error);
        return;
    }
    design.label = QFileInfo(path).fileName();
    addDesign(design);
}

void ComparisonDialog::onSavePlot()
{
    const QStringList filters = {tr("PNG image (*.png)"), tr("SVG drawing (*.svg)"),
                                 tr("PDF (*.pdf)")};
    const ryn::SaveChoice choice = dialogs->askSave(this, tr("Save plot"), QDir::homePath(),
                                                    QStringLiteral("comparison"), filters);
    if (choice.path.isEmpty())
        return;
    ryn::SaveFailure failure;
    const QString format = ryn::SaveChoice::extensionsOf(filters[choice.type]).first();
    if (!plot->exportTo(choice.path, format, QSize(900, 600), &failure))
        QMessageBox::warning(this, windowTitle(),
                             tr("Cannot save %1: %2").arg(choice.path, failure.reason));
}

void ComparisonDialog::onSaveReport()
{
    const QStringList filters = ReportFile::filters();
    const ryn::SaveChoice choice =
        dialogs->askSave(this, tr("Save table"), QDir::homePath(), QStringLiteral("comparison"),
                         filters, ReportFile::Html);
    if (choice.path.isEmpty())
        return;
    ryn::SaveFailure failure;
    if (!ReportFile::save(*report->document(), choice.path,
                          ReportFile::formatOf(filters[choice.type]), &failure))
        QMessageBox::warning(this, windowTitle(),
                             tr("Cannot save %1: %2").arg(choice.path, failure.reason));
}

void ComparisonDialog::onExportCsv()
{
    const ryn::SaveChoice choice =
        dialogs->askSave(this, tr("Export comparison"), QDir::homePath(),
                         QStringLiteral("comparison"), {tr("CSV (*.csv)")});
    if (choice.path.isEmpty())
        return;
    const QByteArray csv = comparison::csv(shown).toUtf8();
    ryn::SaveFailure failure;
    if (!ryn::saveFile(
            choice.path, QIODevice::WriteOnly,
            [&csv](QIODevice& device) {
                return device.write(csv) == csv.size() ? QString() : device.errorString();
            },
            &failure))
        QMessageBox::warning(this, windowTitle(),
                             tr("Cannot save %1: %2").arg(choice.path, failure.reason));
}

// The plot on the first page, the table on the next.
void ComparisonDialog::onPrint()
{
    QPrinter printer;
    if (!dialogs->acceptPrint(&printer, this, tr("Print comparison"), false))
        return;
    QPainter painter(&printer);
    const QRectF page(0, 0, printer.width(), printer.height());
    plot->renderOn(&painter, QRectF(0, 0, page.width(), page.width() * 2 / 3));
    printer.newPage();
    QTextDocument* document = report->document()->clone(this);
    document->setPageSize(page.size());
    document->drawContents(&painter);
    delete document;
}

QString ComparisonDialog::messageText() const
{
    return message->text();
}
