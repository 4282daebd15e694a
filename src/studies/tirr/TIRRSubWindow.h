#pragma once

#include "studies/common/StudySubWindow.h"

#include <memory>

class TIRRRun;

// The window of the transport in-river ratio design: it holds the form, starts a run
// from a copy of the inputs, keeps that run with its results and writes their
// report.
class TIRRSubWindow : public StudySubWindow
{
    Q_OBJECT

public:
    explicit TIRRSubWindow(ryn::RynSettings* settings, QWidget* parent = nullptr);
    ~TIRRSubWindow() override;

    // Refuses while the runner is busy or when the inputs cannot be read.
    bool startRun(ryn::ThreadRunner* runner) override;
    int resultCount() const override;
    void writeReport(QTextCursor& cursor) override;
    PrecisionTable precisionTable() const override;

private:
    std::unique_ptr<TIRRRun> run_;
};
