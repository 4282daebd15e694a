#include "studies/sensitivity/window/BandDialog.h"

#include "framework/window/MessageLine.h"
#include "studies/planning/search/PlanSearch.h"
#include "studies/sensitivity/DesignMeasure.h"
#include "studies/sensitivity/SensitivityTables.h"
#include "studies/sensitivity/window/GuessWorker.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

BandDialog::BandDialog(const Design& design, const QString& quantity, const QString& designTitle,
                       QWidget* parent)
    : QDialog(parent)
    , design(design)
    , quantity(quantity)
    , worker(new GuessWorker(this))
{
    setWindowTitle(tr("Bands of %1: %2").arg(quantity, designTitle));
    intervals = new QLineEdit;
    intervals->setPlaceholderText(QStringLiteral("P2=0.5..0.8, S1=0.8..0.9"));
    intervals->setToolTip(tr("Up to %1 inputs, each by its parameter name with the interval its "
                             "true value may lie in")
                              .arg(bands::maximumInputs));
    measure = new QComboBox;
    measure->addItem(PlanTarget::measureName(PlanTarget::HalfWidth95),
                     int(PlanTarget::HalfWidth95));
    measure->addItem(PlanTarget::measureName(PlanTarget::HalfWidth90),
                     int(PlanTarget::HalfWidth90));
    compute = new QPushButton(tr("Compute"));
    compute->setDefault(true);
    connect(compute, &QPushButton::clicked, this, &BandDialog::onCompute);
    auto* form = new QFormLayout;
    form->addRow(tr("Inputs in intervals:"), intervals);
    form->addRow(tr("Shaded half-width:"), measure);

    table_ = new QTableWidget(0, 0);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    message = new QLabel(tr("The band shades, at every point of the range, the least and the "
                            "greatest half-width of %1 when the inputs lie anywhere in their "
                            "intervals.")
                             .arg(quantity));
    message->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(compute, QDialogButtonBox::ActionRole);
    connect(buttons->addButton(tr("Clear band"), QDialogButtonBox::ResetRole),
            &QPushButton::clicked, this, &BandDialog::cleared);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(table_, 1);
    layout->addWidget(message);
    layout->addWidget(buttons);
    resize(720, 480);
    connect(worker, &GuessWorker::finished, this, &BandDialog::onComputed);
}

// The work in progress writes into this dialog: it is cancelled and waited
// for before the dialog's members go.
BandDialog::~BandDialog()
{
    delete worker;
}

bool BandDialog::isComputing() const
{
    return worker->isRunning();
}

void BandDialog::showError(const QString& text)
{
    ryn::showMessage(message, text, true);
}

void BandDialog::onCompute()
{
    if (worker->isRunning())
        return;
    QList<BandInput> box;
    QString error;
    if (!bands::parseBox(intervals->text(), &box, &error)) {
        showError(error);
        intervals->setFocus();
        return;
    }
    const PlanTarget target{quantity,
                            static_cast<PlanTarget::Measure>(measure->currentData().toInt()), 0};
    compute->setEnabled(false);
    ryn::showMessage(message, tr("Searching the box..."));
    const Design searched = design;
    worker->start([this, searched, target, box](RunMonitor& monitor) {
        foundOk = bands::compute(searched, target, box, &found, &foundError, &monitor);
    });
}

void BandDialog::onComputed()
{
    compute->setEnabled(true);
    if (!foundOk) {
        showError(foundError);
        return;
    }
    shown = found;
    bool interior = false;
    for (const BandRow& row : shown.rows)
        interior = interior || row.min.interior || row.max.interior;
    ryn::showMessage(
        message, tr("Band of the %1 of %2 over %3.%4")
                     .arg(PlanTarget::measureName(shown.target.measure), quantity, shown.boxText(),
                          interior ? tr(" * marks an extreme reached inside the box, not at "
                                        "a corner.")
                                   : QString()));
    fillTable();
    emit computed();
}

void BandDialog::fillTable()
{
    QStringList heads{shown.xName.isEmpty() ? tr("Point") : shown.xName,
                      tr("Base"),
                      tr("Least"),
                      tr("at"),
                      tr("Greatest"),
                      tr("at")};
    table_->setColumnCount(heads.size());
    table_->setHorizontalHeaderLabels(heads);
    table_->setRowCount(shown.rows.size());
    const auto where = [&](const BandExtreme& extreme) {
        QStringList parts;
        for (int d = 0; d < shown.box.size() && d < extreme.inputs.size(); ++d)
            parts << QStringLiteral("%1 = %2").arg(shown.box[d].key,
                                                   planning::numberText(extreme.inputs[d]));
        return parts.join(QStringLiteral(", "));
    };
    for (int r = 0; r < shown.rows.size(); ++r) {
        const BandRow& row = shown.rows[r];
        const QStringList cells{planning::numberText(row.x),
                                sensitivitytables::measureText(row.base),
                                sensitivitytables::measureText(row.min.measure) +
                                    (row.min.interior ? QStringLiteral(" *") : QString()),
                                where(row.min),
                                sensitivitytables::measureText(row.max.measure) +
                                    (row.max.interior ? QStringLiteral(" *") : QString()),
                                where(row.max)};
        for (int c = 0; c < cells.size(); ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}
