#include "studies/release_recapture/window/PairedReleaseSubWindow.h"

#include "forms/core/PairedReleaseInputs.h"
#include "forms/release_recapture/PairedReleaseWidget.h"
#include "framework/run/ThreadRunner.h"
#include "studies/release_recapture/window/ReleaseRecaptureReport.h"

PairedReleaseSubWindow::PairedReleaseSubWindow(ryn::RynSettings* settings, QWidget* parent,
                                               Qt::WindowFlags flags)
    : ReleaseRecaptureSubWindow(PairedReleaseStudy, QStringLiteral("PR"),
                                PairedReleaseInputs::windowTitle, settings, parent, flags)
{
    setReleaseRecaptureForm(new PairedReleaseWidget(settings));
}

PairedReleaseSubWindow::~PairedReleaseSubWindow() = default;

PairedReleaseWidget* PairedReleaseSubWindow::pairedReleaseForm() const
{
    return static_cast<PairedReleaseWidget*>(form());
}

bool PairedReleaseSubWindow::startRun(ryn::ThreadRunner* runner)
{
    std::shared_ptr<const PairedReleaseRecord> record;
    if (!takeInputs([&] {
            record = std::make_shared<PairedReleaseRecord>(
                takePairedReleaseRecord(form()->inputs(), options()));
        }))
        return false;
    current = std::make_unique<PairedReleaseRun>(runner, record);
    runner->setRunnable(current.get());
    runner->start();
    return true;
}

QStringList PairedReleaseSubWindow::parameterNamesOf(const StudyInputs& inputs) const
{
    return pairedReleaseParameterNames(inputs);
}

std::shared_ptr<const ReleaseRecaptureReport>
PairedReleaseSubWindow::runReport(const ReportOptions& options) const
{
    return std::make_shared<ReleaseRecaptureReport>(*this, title(), current->record(),
                                                    *current->results(), options);
}
