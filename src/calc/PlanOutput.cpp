#include "calc/PlanOutput.h"

#include "calc/CommandLine.h"
#include "calc/ConsoleMonitor.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "framework/style/RynStyle.h"
#include "studies/planning/window/PlanReport.h"

#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>

int solvePlans(const QList<QPair<QString, Design>>& designs, const PlanRequest& request,
               QByteArray* output)
{
    ProgressLine progress;
    QStringList texts;
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
            std::fputs(QStringLiteral("quorvel-calc: %1: Cancelled!\n").arg(label).toUtf8(),
                       stderr);
            return ExitStatus::interrupted;
        }
        if (!planned) {
            std::fputs(QStringLiteral("quorvel-calc: %1: %2\n").arg(label, error).toUtf8(), stderr);
            status = ExitStatus::refused;
            continue;
        }
        QTextDocument document;
        QTextCursor cursor(&document);
        const ryn::RynStyle style;
        PlanReport(style, designs::info(design.kind).title, plan).write(cursor);
        texts << (designs.size() > 1 ? QStringLiteral("==> %1 <==\n").arg(label) : QString()) +
                     reportText(document);
    }
    if (status == ExitStatus::success)
        *output = texts.join(QLatin1Char('\n')).toUtf8();
    return status;
}
