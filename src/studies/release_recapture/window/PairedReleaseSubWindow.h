#pragma once

#include "studies/release_recapture/window/PairedReleaseRun.h"
#include "studies/release_recapture/window/ReleaseRecaptureSubWindow.h"

#include <memory>

class PairedReleaseWidget;

// The window of the paired-release design (id 2, "PR", "Paired Release").
class PairedReleaseSubWindow : public ReleaseRecaptureSubWindow
{
    Q_OBJECT

public:
    explicit PairedReleaseSubWindow(ryn::RynSettings* settings, QWidget* parent = nullptr,
                                    Qt::WindowFlags flags = {});
    ~PairedReleaseSubWindow() override;

    PairedReleaseWidget* pairedReleaseForm() const;
    const PairedReleaseRun* run() const { return current.get(); }

    bool startRun(ryn::ThreadRunner* runner) override;

protected:
    const ReleaseRecaptureRun* currentRun() const override { return current.get(); }
    QStringList parameterNamesOf(const StudyInputs& inputs) const override;
    // The treatment survival, the estimate a paired release is made for (the
    // control survival is flat against the treatment release size).
    QString defaultPlotParameter() const override { return QStringLiteral("St"); }
    std::shared_ptr<const ReleaseRecaptureReport>
    runReport(const ReportOptions& options) const override;

private:
    std::unique_ptr<PairedReleaseRun> current;
};
