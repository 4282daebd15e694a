#include "studies/btps/BTPSSubWindow.h"

#include "forms/btps/BTPSWidgetImpl.h"
#include "forms/core/BTPSInputs.h"
#include "framework/run/ThreadRunner.h"
#include "studies/btps/BTPSReport.h"
#include "studies/btps/BTPSRun.h"

BTPSSubWindow::BTPSSubWindow(ryn::RynSettings* settings, QWidget* parent)
    : StudySubWindow(BTPSStudy, QStringLiteral("BTPS"), BTPSInputs::title, settings, parent)
{
    setStudyWidget(new BTPSWidgetImpl(settings));
}

BTPSSubWindow::~BTPSSubWindow() = default;

bool BTPSSubWindow::startRun(ryn::ThreadRunner* runner)
{
    if (runner->isRunning())
        return false;
    std::shared_ptr<const BTPSParameters> record;
    if (!takeInputs([&] {
            record =
                std::make_shared<const BTPSParameters>(takeBTPSRecord(studyWidget()->inputs()));
        }))
        return false;
    run_ = std::make_unique<BTPSRun>(runner, record);
    runner->setRunnable(run_.get());
    runner->start();
    return true;
}

int BTPSSubWindow::resultCount() const
{
    return run_ ? run_->results().pointCount() : 0;
}

void BTPSSubWindow::writeReport(QTextCursor& cursor)
{
    if (resultCount() == 0)
        return;
    BTPSReport(*this, run_->record(), run_->results(), reportOptions()).write(cursor);
}

PrecisionTable BTPSSubWindow::precisionTable() const
{
    return run_ ? run_->results().precisionTable(run_->record()) : PrecisionTable();
}
