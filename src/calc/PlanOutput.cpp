#include "calc/PlanOutput.h"

#include "calc/CommandLine.h"
#include "calc/ConsoleMonitor.h"
#include "calc/ConsoleOutput.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "framework/style/RynStyle.h"
#include "studies/planning/window/PlanReport.h"

#include <QTextCursor>
#include <QTextDocument>

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
        const bool planned = planner::plan(design, request, &plan, &error, &monitor);
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
