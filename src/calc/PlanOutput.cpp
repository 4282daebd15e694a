#include "calc/PlanOutput.h"

#include "calc/CommandLine.h"
#include "calc/ConsoleMonitor.h"
#include "calc/ConsoleOutput.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "calc/ResultsJson.h"
#include "framework/style/RynStyle.h"
#include "studies/planning/window/PlanReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <cstdio>

namespace {

QJsonObject planJson(const QString& label, const Design& design, const Plan& plan)
{
    QJsonArray points;
    for (const PlanRow& row : plan.rows) {
        QJsonObject fields;
        for (const auto& [key, text] : row.fields)
            fields.insert(key, text.toDouble());
        QJsonObject point = {
            {QStringLiteral("value"), plan.xName.isEmpty() ? QJsonValue() : jsonNumber(row.x)},
            {QStringLiteral("met"), row.met},
            {QStringLiteral("fields"), fields},
            {QStringLiteral("totalFish"),
             row.totalFish > 0 ? QJsonValue(double(row.totalFish)) : QJsonValue()},
            {QStringLiteral("achieved"), jsonNumber(row.achieved)},
            {QStringLiteral("shortMeasure"), row.met ? jsonNumber(row.shortMeasure) : QJsonValue()},
            {QStringLiteral("shortAnswer"),
             row.shortAnswer.isEmpty() ? QJsonValue() : QJsonValue(row.shortAnswer)},
        };
        if (!row.message.isEmpty())
            point.insert(QStringLiteral("message"), row.message);
        points.append(point);
    }
    const PlanTarget& target = plan.request.target;
    return {
        {QStringLiteral("design"), designs::info(design.kind).name},
        {QStringLiteral("file"), label},
        {QStringLiteral("quantity"), target.quantity},
        {QStringLiteral("target"),
         QJsonObject{{QStringLiteral("measure"), PlanTarget::measureKeys().value(target.measure)},
                     {QStringLiteral("value"), target.value}}},
        {QStringLiteral("range"), plan.xName.isEmpty() ? QJsonValue() : plan.xName},
        {QStringLiteral("points"), points}};
}

} // namespace

int solvePlans(const QList<QPair<QString, Design>>& designs, const PlanRequest& request, bool json,
               QByteArray* output)
{
    ProgressLine progress;
    QStringList texts;
    QJsonArray plans;
    int status = ExitStatus::success;
    for (const auto& [label, design] : designs) {
        ConsoleMonitor monitor(label, progress);
        Plan plan;
        QString error;
        PlanRequest designRequest = request;
        designRequest.target.effect = design.options.effect;
        const bool planned = planner::plan(design, designRequest, &plan, &error, &monitor);
        progress.end();
        if (ConsoleMonitor::interrupted()) {
            ConsoleOutput::complain(label + QStringLiteral(": Cancelled!"));
            return ExitStatus::interrupted;
        }
        if (!planned) {
            ConsoleOutput::complain(label + QStringLiteral(": ") + error);
            status = ExitStatus::refused;
            continue;
        }
        if (json) {
            plans.append(planJson(label, design, plan));
            continue;
        }
        QTextDocument document;
        QTextCursor cursor(&document);
        const ryn::RynStyle style;
        PlanReport(style, designs::info(design.kind).title, plan).write(cursor);
        texts << (designs.size() > 1 ? QStringLiteral("==> %1 <==\n").arg(label) : QString()) +
                     reportText(document);
    }
    if (status == ExitStatus::success && json)
        *output = plans.size() == 1 ? QJsonDocument(plans.first().toObject()).toJson()
                                    : QJsonDocument(plans).toJson();
    else if (status == ExitStatus::success)
        *output = texts.join(QLatin1Char('\n')).toUtf8();
    return status;
}
