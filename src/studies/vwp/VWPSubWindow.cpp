#include "studies/vwp/VWPSubWindow.h"

#include "forms/core/VWPInputs.h"
#include "forms/vwp/VWPWidget.h"
#include "framework/run/ThreadRunner.h"
#include "studies/vwp/VWPReport.h"
#include "studies/vwp/VWPRun.h"

VWPSubWindow::VWPSubWindow(ryn::RynSettings* settings, QWidget* parent)
    : StudySubWindow(VWPStudy, QStringLiteral("VWPR"), VWPInputs::title, settings, parent)
{
    setStudyWidget(new VWPWidget(settings));
}

VWPSubWindow::~VWPSubWindow() = default;

bool VWPSubWindow::startRun(ryn::ThreadRunner* runner)
{
    if (runner->isRunning())
        return false;
    std::shared_ptr<const VWPParameters> record;
    if (!takeInputs([&] {
            record = std::make_shared<const VWPParameters>(takeVWPRecord(studyWidget()->inputs()));
        }))
        return false;
    run_ = std::make_unique<VWPRun>(runner, record);
    runner->setRunnable(run_.get());
    runner->start();
    return true;
}

int VWPSubWindow::resultCount() const
{
    return run_ ? run_->results().pointCount() : 0;
}

void VWPSubWindow::writeReport(QTextCursor& cursor)
{
    if (resultCount() == 0)
        return;
    VWPReport(*this, run_->record(), run_->results(), reportOptions()).write(cursor);
}

PrecisionTable VWPSubWindow::precisionTable() const
{
    return run_ ? run_->results().precisionTable(run_->record()) : PrecisionTable();
}
