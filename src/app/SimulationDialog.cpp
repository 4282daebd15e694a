#include "app/SimulationDialog.h"

#include "forms/core/Refusal.h"
#include "framework/files/SaveChoice.h"
#include "framework/files/SaveFile.h"
#include "framework/window/ScreenFit.h"
#include "framework/window/WindowDialogs.h"
#include "studies/common/ReportFile.h"
#include "studies/common/ReportPages.h"
#include "studies/simulation/DesignSimulation.h"
#include "studies/simulation/SimulationReport.h"

#include <QDir>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QTextCursor>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdint>
#include <exception>
#include <limits>
#include <thread>

SimulationDialog::SimulationDialog(std::unique_ptr<DesignSimulation> simulation,
                                   const QString& designTitle, ryn::WindowDialogs* dialogs,
                                   QWidget* parent)
    : QDialog(parent)
    , simulation(std::move(simulation))
    , designTitle(designTitle)
    , dialogs(dialogs)
    , progress(new QProgressDialog(this))
    , progressTimer(new QTimer(this))
{
    setupUi(this);
    placeInScrollingArea();
    ryn::screenfit::fitToScreen(this, size());
    saveButton = buttonBox->addButton(tr("Save Report…"), QDialogButtonBox::ActionRole);
    printButton = buttonBox->addButton(tr("Print…"), QDialogButtonBox::ActionRole);
    saveButton->setEnabled(false);
    printButton->setEnabled(false);
    setWindowTitle(tr("Check by Simulation: %1").arg(designTitle));
    seedEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,20}")), this));
    fillChoices();
    onNewSeed();
    reportView->setPlaceholderText(
        tr("Simulate draws the data sets at the design's true values, fits each as the study "
           "would, and sets the spread and coverage of the estimates beside the predicted "
           "precision here, and for a quantity with a null value the share of the data sets "
           "whose test rejects it beside the predicted power; the histogram below shows the "
           "estimates of the chosen quantity."));

    progress->setWindowModality(Qt::WindowModal);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setMinimumDuration(300);
    progress->reset();
    progressTimer->setInterval(100);

    connect(simulateButton, &QPushButton::clicked, this, &SimulationDialog::simulate);
    connect(newSeedButton, &QPushButton::clicked, this, &SimulationDialog::onNewSeed);
    connect(quantityCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SimulationDialog::showHistogram);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveButton, &QPushButton::clicked, this, &SimulationDialog::onSaveReport);
    connect(printButton, &QPushButton::clicked, this, &SimulationDialog::onPrint);
    connect(progress, &QProgressDialog::canceled, this, [this] { cancelFlag = true; });
    connect(progressTimer, &QTimer::timeout, this, &SimulationDialog::showProgress);
}

// On a low screen the choices, the report and the histogram scroll; the
// buttons stay below them in view.
void SimulationDialog::placeInScrollingArea()
{
    auto* content = new QWidget;
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->removeItem(settingsLayout);
    settingsLayout->setParent(nullptr);
    contentLayout->addLayout(settingsLayout);
    mainLayout->removeWidget(splitter);
    contentLayout->addWidget(splitter, 1);
    mainLayout->insertWidget(0, ryn::screenfit::scrolling(content), 1);
}

// The worker reads the simulation and writes the outcome, both members, so
// it must end before they go.
SimulationDialog::~SimulationDialog()
{
    if (worker) {
        cancelFlag = true;
        worker->wait();
        delete worker;
    }
}

void SimulationDialog::fillChoices()
{
    const QString range = simulation->rangeName();
    for (int i = 0; i < simulation->pointCount(); ++i)
        pointCombo->addItem(range.isEmpty() ? tr("the design's inputs")
                                            : QStringLiteral("%1 = %2").arg(range).arg(
                                                  simulation->xAt(i), 0, 'g', 10));
    pointCombo->setEnabled(simulation->pointCount() > 1);
    quantityCombo->addItems(simulation->quantityNames());
}

void SimulationDialog::onNewSeed()
{
    seedEdit->setText(QString::number(QRandomGenerator::global()->bounded(1000000000u)));
}

void SimulationDialog::simulate()
{
    if (worker)
        return;
    bool ok = false;
    const std::uint64_t seed = seedEdit->text().toULongLong(&ok);
    if (!ok) {
        QMessageBox::warning(this, windowTitle(),
                             fieldrules::refusalText(
                                 tr("Seed"), tr("must be a whole number from 0 to %1")
                                                 .arg(std::numeric_limits<std::uint64_t>::max())));
        return;
    }

    SimulationSettings settings;
    settings.dataSetCount = dataSetsSpin->value();
    settings.seed = seed;
    settings.threadCount = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    settings.cancelFlag = &cancelFlag;
    settings.progress = [this](int count) {
        for (int seen = dataSetsDone.load();
             count > seen && !dataSetsDone.compare_exchange_weak(seen, count);)
            ;
    };
    const int point = pointCombo->currentIndex();
    dataSetsDone = 0;
    cancelFlag = false;
    outcome.reset();
    failure.clear();

    worker = QThread::create([this, point, settings] {
        try {
            outcome = std::make_unique<SimulationCheck>(simulation->check(point, settings));
        } catch (const QString& text) {
            failure = text;
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            failure = QStringLiteral("Unknown error");
        }
    });
    connect(worker, &QThread::finished, this, &SimulationDialog::onCheckEnded);

    progress->setLabelText(tr("Simulating %1 data sets...").arg(settings.dataSetCount));
    progress->setRange(0, settings.dataSetCount);
    progress->setValue(0);
    setRunning(true);
    worker->start();
    progressTimer->start();
}

void SimulationDialog::showProgress()
{
    if (!cancelFlag)
        progress->setValue(dataSetsDone.load());
}

void SimulationDialog::setRunning(bool running)
{
    for (QWidget* choice :
         std::initializer_list<QWidget*>{dataSetsSpin, seedEdit, newSeedButton, simulateButton})
        choice->setEnabled(!running);
    pointCombo->setEnabled(!running && simulation->pointCount() > 1);
    saveButton->setEnabled(!running && shown);
    printButton->setEnabled(!running && shown);
}

// A cancelled check leaves the last one shown. The progress dialog goes
// whether or not it is on screen yet: reset() alone stops its timer of
// showing but hides it only when it closes itself, which it does not here
// (it would close at its maximum, before the check is written).
void SimulationDialog::onCheckEnded()
{
    progressTimer->stop();
    worker->wait();
    delete worker;
    worker = nullptr;
    progress->reset();
    progress->hide();
    const bool completed = failure.isEmpty() && outcome && !outcome->canceled();
    if (completed)
        shown = std::move(outcome);
    setRunning(false);

    if (!failure.isEmpty()) {
        QMessageBox::critical(this, designTitle, failure);
    } else if (completed) {
        showReport();
        showHistogram(quantityCombo->currentIndex());
    }
    emit checkEnded();
}

// The first report takes the larger part, enough for its table; later ones
// keep the parts the user has chosen.
void SimulationDialog::showReport()
{
    if (!shownBefore) {
        const int height = splitter->height();
        splitter->setSizes({height * 11 / 20, height * 9 / 20});
        shownBefore = true;
    }
    reportView->clear();
    QTextCursor cursor(reportView->document());
    SimulationReport report(style, designTitle, *shown);
    report.setPower(simulation->effectTest());
    report.write(cursor);
    reportView->moveCursor(QTextCursor::Start);
}

void SimulationDialog::showHistogram(int quantity)
{
    if (!shown || quantity < 0 || quantity >= shown->quantities.size())
        return;
    const auto q = static_cast<std::size_t>(quantity);
    histogram->setEstimates(shown->quantities[quantity], shown->estimatesOf(quantity),
                            shown->trueValues[q], shown->results.predictedStandardErrors[q]);
}

// The report as it stands, whole or not at all; a file that cannot be
// written is named with the reason and nothing changes.
void SimulationDialog::onSaveReport()
{
    if (!shown)
        return;
    const QStringList filters = ReportFile::filters();
    const ryn::SaveChoice choice =
        dialogs->askSave(this, tr("Save Report"), QDir::homePath(),
                         ryn::SaveChoice::fileNameOf(designTitle) + QStringLiteral("-simulation"),
                         filters, ReportFile::Html);
    if (choice.path.isEmpty())
        return;
    ryn::SaveFailure failure;
    if (!ReportFile::save(*reportView->document(), choice.path,
                          ReportFile::formatOf(filters[choice.type]), &failure))
        QMessageBox::critical(this, windowTitle(),
                              tr("Can't write \"%1\": %2.").arg(choice.path, failure.reason));
}

// Wide tables are cut into blocks of whole columns on the page, as the
// design's report is.
void SimulationDialog::onPrint()
{
    if (!shown)
        return;
    QPrinter printer(QPrinter::ScreenResolution);
    if (dialogs->acceptPrint(&printer, this, tr("Print Report"), false))
        ReportPages::print(*reportView->document(), &printer);
}
