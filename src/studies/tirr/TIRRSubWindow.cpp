#include "studies/tirr/TIRRSubWindow.h"

#include "forms/core/TIRRInputs.h"
#include "forms/tirr/TIRRWidgetImpl.h"
#include "framework/run/ThreadRunner.h"
#include "studies/tirr/TIRRReport.h"
#include "studies/tirr/TIRRRun.h"

TIRRSubWindow::TIRRSubWindow(ryn::RynSettings* settings, QWidget* parent)
    : StudySubWindow(TIRRStudy, QStringLiteral("TIRR"), TIRRInputs::title, settings, parent)
{
    setStudyWidget(new TIRRWidgetImpl(settings));
}

TIRRSubWindow::~TIRRSubWindow() = default;

bool TIRRSubWindow::startRun(ryn::ThreadRunner* runner)
{
    if (runner->isRunning())
        return false;
    std::shared_ptr<const TIRRParameters> record;
    if (!takeInputs([&] {
            record =
                std::make_shared<const TIRRParameters>(takeTIRRRecord(studyWidget()->inputs()));
        }))
        return false;
    run_ = std::make_unique<TIRRRun>(runner, record);
    runner->setRunnable(run_.get());
    runner->start();
    return true;
}

int TIRRSubWindow::resultCount() const
{
    return run_ ? run_->results().pointCount() : 0;
}

void TIRRSubWindow::writeReport(QTextCursor& cursor)
{
    if (resultCount() == 0)
        return;
    TIRRReport(*this, run_->record(), run_->results(), reportOptions()).write(cursor);
}

PrecisionTable TIRRSubWindow::precisionTable() const
{
    return run_ ? run_->results().precisionTable(run_->record()) : PrecisionTable();
}
