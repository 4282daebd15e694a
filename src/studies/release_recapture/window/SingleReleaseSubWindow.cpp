#include "studies/release_recapture/window/SingleReleaseSubWindow.h"

#include "forms/core/SingleReleaseInputs.h"
#include "forms/release_recapture/SingleReleaseWidget.h"
#include "framework/run/ThreadRunner.h"
#include "studies/release_recapture/window/SingleReleaseReport.h"

SingleReleaseSubWindow::SingleReleaseSubWindow(ryn::RynSettings* settings, QWidget* parent,
                                               Qt::WindowFlags flags)
    : ReleaseRecaptureSubWindow(SingleReleaseStudy, QStringLiteral("SR"),
                                SingleReleaseInputs::title, settings, parent, flags)
{
    setReleaseRecaptureForm(new SingleReleaseWidget(settings));
}

SingleReleaseSubWindow::~SingleReleaseSubWindow() = default;

SingleReleaseWidget* SingleReleaseSubWindow::singleReleaseForm() const
{
    return static_cast<SingleReleaseWidget*>(form());
}

bool SingleReleaseSubWindow::startRun(ryn::ThreadRunner* runner)
{
    std::shared_ptr<const SingleReleaseRecord> record;
    if (!takeInputs([&] {
            record = std::make_shared<SingleReleaseRecord>(
                takeSingleReleaseRecord(form()->inputs(), options()));
        }))
        return false;
    current = std::make_unique<SingleReleaseRun>(runner, record);
    runner->setRunnable(current.get());
    runner->start();
    return true;
}

QStringList SingleReleaseSubWindow::parameterNamesOf(const StudyInputs& inputs) const
{
    return singleReleaseParameterNames(inputs);
}

std::shared_ptr<const ReleaseRecaptureReport>
SingleReleaseSubWindow::runReport(const ReportOptions& options) const
{
    return std::make_shared<SingleReleaseReport>(*this, title(), current->record(),
                                                 *current->results(), options);
}
