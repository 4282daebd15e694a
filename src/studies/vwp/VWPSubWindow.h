#pragma once

#include "studies/common/StudySubWindow.h"

#include <memory>

class VWPRun;

// The window of the virtual-with-a-paired-release design: it holds the form, starts a run
// from a copy of the inputs, keeps that run with its results and writes their
// report.
class VWPSubWindow : public StudySubWindow
{
    Q_OBJECT

public:
    explicit VWPSubWindow(ryn::RynSettings* settings, QWidget* parent = nullptr);
    ~VWPSubWindow() override;

    // Refuses while the runner is busy or when the inputs cannot be read.
    bool startRun(ryn::ThreadRunner* runner) override;
    int resultCount() const override;
    void writeReport(QTextCursor& cursor) override;
    PrecisionTable precisionTable() const override;

private:
    std::unique_ptr<VWPRun> run_;
};
