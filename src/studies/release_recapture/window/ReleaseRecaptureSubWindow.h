#pragma once

#include "forms/dialogs/ReleaseDesignKeys.h"
#include "studies/common/ReportTables.h"
#include "studies/common/StudySubWindow.h"
#include "studies/release_recapture/ReleaseRecaptureRecord.h"

#include <QString>
#include <QStringList>

#include <memory>

class ReleaseRecaptureReport;
class ReleaseRecaptureRun;
class ReleaseRecaptureWidget;

// The window of the single- or paired-release design. It reads the design's
// replicate settings (each design has its own), keeps the names of the
// parameters the results will show so that the run-mode dialog can offer
// them before a run, and writes the report and the precision of the last run
// from that run's record and results.
class ReleaseRecaptureSubWindow : public StudySubWindow
{
    Q_OBJECT

public:
    // id is the design's study type, which names its settings (the reach
    // count and replicate options of ReleaseDesignKeys).
    ReleaseRecaptureSubWindow(int id, const QString& shortName, const QString& title,
                              ryn::RynSettings* settings, QWidget* parent = nullptr,
                              Qt::WindowFlags flags = {});
    ~ReleaseRecaptureSubWindow() override;

    // The form's number of reaches; the names follow.
    void setNumReaches(int n);

    // The stored replicate options (text is converted: "abc" counts as 0).
    bool replicatesEnabled() const;
    int replicateCount() const;
    QString replicateParameter() const;
    double naturalVariance() const;
    QString naturalVarianceText() const;
    // The options a run is started with: the replicate options and, from
    // "total_surv_var", whether the total survival is shown.
    ReleaseRecaptureOptions options() const;

    // The names of the parameters the results will show for the form's
    // reaches and sharing, without derived quantities.
    const QStringList& parameterNames() const { return names; }
    ReleaseRecaptureWidget* form() const { return releaseRecaptureForm; }

    int resultCount() const override;
    void writeReport(QTextCursor& cursor) override;
    QList<ReportPiece> reportPieces() override;
    PrecisionTable precisionTable() const override;

signals:
    void parameterNamesChanged(QStringList names);

protected:
    // Installs the design's form, gives it the stored number of reaches and
    // takes its parameter names.
    void setReleaseRecaptureForm(ReleaseRecaptureWidget* form);

    // The current run, or none.
    virtual const ReleaseRecaptureRun* currentRun() const = 0;
    // The parameter names of the design's results for inputs.
    virtual QStringList parameterNamesOf(const StudyInputs& inputs) const = 0;
    // The writer of the design's report of the current run, which has results.
    virtual std::shared_ptr<const ReleaseRecaptureReport>
    runReport(const ReportOptions& options) const = 0;

private slots:
    void refreshParameterNames();

private:
    const ReleaseDesignKeys& keys;
    ReleaseRecaptureWidget* releaseRecaptureForm = nullptr;
    QStringList names;
};
