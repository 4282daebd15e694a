#pragma once

#include "studies/release_recapture/window/ReleaseRecaptureSubWindow.h"
#include "studies/release_recapture/window/SingleReleaseRun.h"

#include <memory>

class SingleReleaseWidget;

// The window of the single-release design (id 1, "SR", "Single Release").
class SingleReleaseSubWindow : public ReleaseRecaptureSubWindow
{
    Q_OBJECT

public:
    explicit SingleReleaseSubWindow(ryn::RynSettings* settings, QWidget* parent = nullptr,
                                    Qt::WindowFlags flags = {});
    ~SingleReleaseSubWindow() override;

    SingleReleaseWidget* singleReleaseForm() const;
    const SingleReleaseRun* run() const { return current.get(); }

    bool startRun(ryn::ThreadRunner* runner) override;

protected:
    const ReleaseRecaptureRun* currentRun() const override { return current.get(); }
    QStringList parameterNamesOf(const StudyInputs& inputs) const override;
    std::shared_ptr<const ReleaseRecaptureReport>
    runReport(const ReportOptions& options) const override;

private:
    std::unique_ptr<SingleReleaseRun> current;
};
