#include "studies/release_recapture/window/ReleaseRecaptureSubWindow.h"

#include "forms/release_recapture/ReleaseRecaptureWidget.h"
#include "framework/settings/RynSettings.h"
#include "studies/release_recapture/ReleaseRecapturePrecision.h"
#include "studies/release_recapture/window/ReleaseRecaptureReport.h"
#include "studies/release_recapture/window/ReleaseRecaptureRun.h"

#include <QTextCursor>
#include <QTextFrame>

ReleaseRecaptureSubWindow::ReleaseRecaptureSubWindow(int id, const QString& shortName,
                                                     const QString& title,
                                                     ryn::RynSettings* settings, QWidget* parent,
                                                     Qt::WindowFlags flags)
    : StudySubWindow(id, shortName, title, settings, parent, flags)
    , keys(*ReleaseDesignKeys::of(id))
{}

ReleaseRecaptureSubWindow::~ReleaseRecaptureSubWindow() = default;

void ReleaseRecaptureSubWindow::setReleaseRecaptureForm(ReleaseRecaptureWidget* form)
{
    releaseRecaptureForm = form;
    setStudyWidget(form);
    connect(form, &ReleaseRecaptureWidget::parameterNamesChanged, this,
            &ReleaseRecaptureSubWindow::refreshParameterNames);
    form->setNumReaches(settings()->value(keys.numReaches).toInt());
    refreshParameterNames();
}

void ReleaseRecaptureSubWindow::setNumReaches(int n)
{
    releaseRecaptureForm->setNumReaches(n);
}

bool ReleaseRecaptureSubWindow::replicatesEnabled() const
{
    return settings()->value(keys.replicatesEnabled).toBool();
}

int ReleaseRecaptureSubWindow::replicateCount() const
{
    return settings()->value(keys.replicatesNum).toInt();
}

QString ReleaseRecaptureSubWindow::replicateParameter() const
{
    return settings()->value(keys.replicateParameter).toString();
}

double ReleaseRecaptureSubWindow::naturalVariance() const
{
    return settings()->value(keys.naturalVariance).toDouble();
}

QString ReleaseRecaptureSubWindow::naturalVarianceText() const
{
    return settings()->value(keys.naturalVariance).toString();
}

ReleaseRecaptureOptions ReleaseRecaptureSubWindow::options() const
{
    return ReleaseRecaptureOptions::of(storedOptions());
}

int ReleaseRecaptureSubWindow::resultCount() const
{
    return currentRun() ? currentRun()->resultCount() : 0;
}

void ReleaseRecaptureSubWindow::writeReport(QTextCursor& cursor)
{
    writeReportPieces(cursor, reportPieces());
}

// Without a completed point nothing but the frame format is written. The
// pieces keep the writer, which keeps to the current run: a window writing
// them starts no other run until the last is written.
QList<ReportPiece> ReleaseRecaptureSubWindow::reportPieces()
{
    QList<ReportPiece> pieces{
        [this](QTextCursor& cursor) { cursor.currentFrame()->setFrameFormat(frameFormat); }};
    if (resultCount() == 0)
        return pieces;
    const std::shared_ptr<const ReleaseRecaptureReport> writer = runReport(reportOptions());
    for (const ReportPiece& piece : writer->pieces())
        pieces << [writer, piece](QTextCursor& cursor) { piece(cursor); };
    return pieces;
}

PrecisionTable ReleaseRecaptureSubWindow::precisionTable() const
{
    if (resultCount() == 0)
        return {};
    return releaseRecapturePrecisionTable(currentRun()->record(), *currentRun()->results());
}

void ReleaseRecaptureSubWindow::refreshParameterNames()
{
    const QStringList now = parameterNamesOf(releaseRecaptureForm->inputs());
    if (now == names)
        return;
    names = now;
    emit parameterNamesChanged(names);
}
