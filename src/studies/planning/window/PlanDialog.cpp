#include "studies/planning/window/PlanDialog.h"

#include "framework/window/MessageLine.h"
#include "studies/common/AtomicMonitor.h"
#include "studies/common/RunMonitor.h"
#include "studies/common/StudySubWindow.h"
#include "studies/planning/window/PlanReport.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Solve-for choices are the release size, the split, then the
// probabilities, each holding its parameter name.
const QString releaseChoice = QStringLiteral("release");
const QString splitChoice = QStringLiteral("split");

} // namespace

PlanDialog::PlanDialog(StudySubWindow* window, QWidget* parent)
    : QDialog(parent)
    , window(window)
    , progressTimer(new QTimer(this))
{
    setWindowTitle(tr("Plan to a target: %1").arg(window->title()));
    createControls();
    fillChoices();
    resize(820, 620);
    progressTimer->setInterval(100);
    connect(progressTimer, &QTimer::timeout, this, &PlanDialog::onProgress);
}

PlanDialog::~PlanDialog()
{
    if (worker != nullptr) {
        cancel = true;
        worker->wait();
    }
}

void PlanDialog::createControls()
{
    quantity = new QComboBox;
    quantity->setToolTip(tr("The estimate whose precision the target is on"));
    measure = new QComboBox;
    for (int m = PlanTarget::StandardError; m <= PlanTarget::Power; ++m)
        measure->addItem(PlanTarget::measureName(static_cast<PlanTarget::Measure>(m)));
    measure->setToolTip(tr("SE, the half-width of the 90% or 95% confidence interval, the "
                           "coefficient of variation (SE over the estimate), or the power of "
                           "the test of the quantity's effect against its null value (1 for "
                           "St, T and Sdam)"));
    target = new QLineEdit(QStringLiteral("0.05"));
    target->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), target));
    target->setToolTip(tr("The largest value of the measure that is good enough"));
    solveFor = new QComboBox;
    solveFor->setToolTip(tr("What the plan may change: every release size in proportion, the "
                            "split of the two groups, or one probability"));
    total = new QLineEdit;
    total->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), total));
    total->setPlaceholderText(tr("the design's own"));
    total->setToolTip(tr("The fish a split divides between the two groups"));
    point = new QComboBox;
    point->setToolTip(tr("The point of the range whose answer \"Use this\" writes"));
    point->setMinimumContentsLength(14);
    point->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    auto* form = new QFormLayout;
    form->addRow(tr("Quantity:"), quantity);
    form->addRow(tr("Measure:"), measure);
    form->addRow(tr("At most:"), target);
    // A power is met from below, every other measure from above.
    connect(measure, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, form](int m) {
        if (auto* label = qobject_cast<QLabel*>(form->labelForField(target)))
            label->setText(m == PlanTarget::Power ? tr("At least:") : tr("At most:"));
    });
    form->addRow(tr("Solve for:"), solveFor);
    form->addRow(tr("Total fish:"), total);

    solve = new QPushButton(tr("Solve"));
    solve->setDefault(true);
    use = new QPushButton(tr("Use this"));
    use->setToolTip(tr("Write the answer into the form"));
    use->setEnabled(false);
    undo = new QPushButton(tr("Undo"));
    undo->setToolTip(tr("Put back what the form held before \"Use this\""));
    undo->setEnabled(false);
    auto* close = new QPushButton(tr("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(solve);
    buttons->addStretch();
    buttons->addWidget(new QLabel(tr("Point:")));
    buttons->addWidget(point);
    buttons->addWidget(use);
    buttons->addWidget(undo);
    buttons->addWidget(close);

    message = new QLabel;
    message->setWordWrap(true);
    view = new QTextEdit;
    view->setReadOnly(true);
    view->setMinimumSize(600, 260);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message);
    layout->addWidget(view, 1);
    layout->addLayout(buttons);

    connect(solve, &QPushButton::clicked, this, &PlanDialog::onSolve);
    connect(use, &QPushButton::clicked, this, &PlanDialog::onUseThis);
    connect(undo, &QPushButton::clicked, this, &PlanDialog::onUndo);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(solveFor, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &PlanDialog::onSolveForChanged);
}

// The quantities come from one computation of the form's first point; a
// form that cannot be computed says why, and Solve tells again.
void PlanDialog::fillChoices()
{
    const Design design = window->design();
    quantity->clear();
    solveFor->clear();
    QString error;
    const QStringList quantities = planner::quantities(design, &error);
    quantity->addItems(quantities);
    if (quantities.isEmpty())
        showError(tr("The form cannot be computed yet (%1): complete it, then Solve").arg(error));

    solveFor->addItem(tr("Release size"), releaseChoice);
    if (!planner::groupFields(design.kind).first.isEmpty())
        solveFor->addItem(tr("Split of the two groups"), splitChoice);
    for (const QString& key : planner::probabilityFields(design))
        solveFor->addItem(design.inputs.field(key).name, key);
    onSolveForChanged();
}

void PlanDialog::onSolveForChanged()
{
    total->setEnabled(solveFor->currentData().toString() == splitChoice);
}

bool PlanDialog::readRequest(PlanRequest* request, QString* error) const
{
    const QString choice = solveFor->currentData().toString();
    request->solve = choice == releaseChoice ? PlanRequest::ReleaseSize
                     : choice == splitChoice ? PlanRequest::Split
                                             : PlanRequest::Probability;
    request->field = request->solve == PlanRequest::Probability ? choice : QString();
    request->target.quantity = quantity->currentText();
    request->target.measure = static_cast<PlanTarget::Measure>(measure->currentIndex());
    bool number = false;
    request->target.value = target->text().toDouble(&number);
    if (!number) {
        *error = tr("The target \"%1\" is no number: give the largest %2 of %3 that is good "
                    "enough, such as 0.05")
                     .arg(target->text(), measure->currentText(), request->target.quantity);
        return false;
    }
    request->total = total->isEnabled() ? total->text().toLongLong() : 0;
    return true;
}

void PlanDialog::showError(const QString& text)
{
    ryn::showMessage(message, text, true);
}

// The form's inputs now, planned on a worker thread; the window answers its
// user meanwhile, and the timer shows how far the plan is.
void PlanDialog::onSolve()
{
    if (worker != nullptr)
        return;
    // A form that could not be computed when the dialog opened may have
    // been completed since.
    if (quantity->count() == 0)
        fillChoices();
    if (quantity->count() == 0)
        return;
    PlanRequest request;
    QString error;
    if (!readRequest(&request, &error)) {
        showError(error);
        return;
    }
    planned = window->design();
    request.target.effect = planned.options.effect;
    cancel = false;
    step = 0;
    steps = 0;
    solve->setEnabled(false);
    ryn::showMessage(message, tr("Solving..."));
    worker = QThread::create([this, request] {
        AtomicMonitor monitor(step, steps, cancel);
        solvedOk = planner::plan(planned, request, &solved, &solveError, &monitor);
    });
    connect(worker, &QThread::finished, this, &PlanDialog::onSolved);
    worker->start();
    progressTimer->start();
}

void PlanDialog::onProgress()
{
    if (steps > 1)
        message->setText(tr("Solving... point %1 of %2").arg(step + 1).arg(steps));
}

void PlanDialog::onSolved()
{
    progressTimer->stop();
    worker->deleteLater();
    worker = nullptr;
    solve->setEnabled(true);
    if (!solvedOk) {
        showError(solveError);
        return;
    }
    answer = solved;
    int met = 0;
    point->clear();
    for (const PlanRow& row : answer.rows) {
        point->addItem(answer.xName.isEmpty()
                           ? tr("the design")
                           : QStringLiteral("%1 = %2").arg(answer.xName).arg(row.x));
        met += row.met ? 1 : 0;
    }
    point->setEnabled(answer.rows.size() > 1);
    use->setEnabled(met > 0);
    ryn::showMessage(message, met == answer.rows.size()
                                  ? tr("The target is met at every point.")
                                  : tr("The target cannot be met at %1 of %2 points.")
                                        .arg(answer.rows.size() - met)
                                        .arg(answer.rows.size()));

    view->clear();
    QTextCursor cursor(view->document());
    PlanReport(*window, window->title(), answer).write(cursor);
    view->moveCursor(QTextCursor::Start);
    emit planWritten(view->document());
}

// The answer of the chosen point into the form, through its bound fields,
// as opening a design file does; the form's values before are kept for one
// Undo.
void PlanDialog::onUseThis()
{
    const int index = point->currentIndex();
    if (index < 0 || index >= answer.rows.size())
        return;
    const PlanRow& row = answer.rows[index];
    if (!row.met) {
        showError(tr("The target cannot be met at %1: there is no answer to use")
                      .arg(point->currentText()));
        return;
    }
    const Design before = window->design();
    if (!window->loadDesign(planner::withAnswer(before, row))) {
        showError(tr("The form cannot take the answer: it no longer shows the planned design"));
        return;
    }
    previous = before;
    undo->setEnabled(true);
    ryn::showMessage(message, tr("The form now holds %1.").arg(row.answer));
}

void PlanDialog::onUndo()
{
    if (!previous)
        return;
    window->loadDesign(*previous);
    previous.reset();
    undo->setEnabled(false);
    ryn::showMessage(message, tr("The form holds its values from before \"Use this\" again."));
}
