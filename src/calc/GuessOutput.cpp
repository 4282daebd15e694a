#include "calc/GuessOutput.h"

#include "calc/ConsoleMonitor.h"
#include "calc/ConsoleOutput.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "framework/style/RynStyle.h"
#include "studies/planning/window/PlanReport.h"
#include "studies/sensitivity/Sensitivity.h"
#include "studies/sensitivity/SensitivityTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// One design's answer in the request's format: text, or CSV, or a JSON
// object.
struct Answer
{
    QString text;
    QJsonObject json;
};

QString planText(const Design& design, const Band& band, const Plan& plan)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const ryn::RynStyle style;
    PlanReport(style, designs::info(design.kind).title, plan).write(cursor);
    QString text =
        QStringLiteral("Planned for the worst case of the band %1\n\n").arg(band.boxText()) +
        reportText(document);
    text += QStringLiteral("\nThe worst case at each point:\n\n") + sensitivitytables::text(band);
    return text;
}

bool answer(const Design& design, const CalcRequest& request, RunMonitor& monitor, Answer* result,
            QString* error)
{
    const GuessRequest& guesses = request.guesses;
    if (guesses.kind == GuessRequest::Sensitivity) {
        SensitivityRequest asked;
        asked.target = guesses.target;
        asked.spread = guesses.spread;
        asked.point = request.simulation.point - 1;
        Sensitivity sensitivity;
        if (!sensitivity::analyse(design, asked, &sensitivity, error, &monitor))
            return false;
        result->text = request.format == CalcRequest::Csv ? sensitivitytables::csv(sensitivity)
                                                          : sensitivitytables::text(sensitivity);
        result->json = sensitivitytables::json(sensitivity);
        return true;
    }
    Band band;
    if (request.solve) {
        Plan plan;
        if (!bands::planWorstCase(design, guesses.box, request.plan, &plan, &band, error, &monitor))
            return false;
        result->text = planText(design, band, plan);
        return true;
    }
    if (!bands::compute(design, guesses.target, guesses.box, &band, error, &monitor))
        return false;
    result->text = request.format == CalcRequest::Csv ? sensitivitytables::csv(band)
                                                      : sensitivitytables::text(band);
    result->json = sensitivitytables::json(band);
    return true;
}

} // namespace

int analyseGuesses(const QList<QPair<QString, Design>>& designs, const CalcRequest& request,
                   QByteArray* output)
{
    ProgressLine progress;
    QStringList texts;
    QJsonArray objects;
    int status = ExitStatus::success;
    for (const auto& [label, design] : designs) {
        ConsoleMonitor monitor(label, progress);
        Answer result;
        QString error;
        const bool answered = answer(design, request, monitor, &result, &error);
        progress.end();
        if (ConsoleMonitor::interrupted()) {
            ConsoleOutput::complain(label + QStringLiteral(": Cancelled!"));
            return ExitStatus::interrupted;
        }
        if (!answered) {
            ConsoleOutput::complain(label + QStringLiteral(": ") + error);
            status = ExitStatus::refused;
            continue;
        }
        result.json.insert(QStringLiteral("design"), label);
        objects.append(result.json);
        if (designs.size() == 1 || request.format == CalcRequest::Json) {
            texts << result.text;
        } else if (request.format == CalcRequest::Csv) {
            // One table: a design column before each row, the head row once.
            QStringList lines = result.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            for (int l = 0; l < lines.size(); ++l)
                lines[l] =
                    (l == 0 ? QStringLiteral("Design") : label) + QLatin1Char(',') + lines[l];
            texts << (texts.isEmpty() ? lines : lines.mid(1)).join(QLatin1Char('\n')) +
                         QLatin1Char('\n');
        } else {
            texts << QStringLiteral("==> %1 <==\n").arg(label) + result.text;
        }
    }
    if (status != ExitStatus::success)
        return status;
    if (request.format == CalcRequest::Json && !request.solve)
        *output = designs.size() == 1 ? QJsonDocument(objects.first().toObject()).toJson()
                                      : QJsonDocument(objects).toJson();
    else
        *output = texts.join(request.format == CalcRequest::Csv ? QString() : QStringLiteral("\n"))
                      .toUtf8();
    return status;
}
