#include "calc/CompareOutput.h"

#include "calc/CommandLine.h"
#include "calc/ConsoleMonitor.h"
#include "calc/PlanOptions.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "calc/ResultsJson.h"
#include "framework/style/RynStyle.h"
#include "studies/comparison/window/ComparisonReport.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <cstdio>

namespace {

const QString compareName = QStringLiteral("compare");
const QString budgetName = QStringLiteral("budget");

QByteArray jsonOf(const Comparison& comparison)
{
    QJsonArray entries;
    const QString key = PlanTarget::measureKeys().value(comparison.request.measure);
    for (const ComparisonEntry& entry : comparison.entries) {
        QJsonObject sizes;
        for (const auto& [field, text] : entry.releaseSizes)
            sizes.insert(field, text.toLongLong());
        QJsonObject object = {
            {QStringLiteral("design"), entry.design},
            {QStringLiteral("file"), entry.label},
            {QStringLiteral("quantity"), entry.quantity},
            {QStringLiteral("totalFish"),
             entry.totalFish > 0 ? QJsonValue(double(entry.totalFish)) : QJsonValue()},
            {QStringLiteral("releaseSizes"), sizes},
            {QStringLiteral("measure"),
             QJsonObject{{QStringLiteral("name"), key},
                         {QStringLiteral("value"),
                          entry.answered ? jsonNumber(entry.measure) : QJsonValue()}}},
            // Null with a budget alone: nothing to meet.
            {QStringLiteral("met"),
             comparison.request.judgesMet() ? QJsonValue(entry.met) : QJsonValue()},
        };
        if (comparison.request.mode == ComparisonRequest::Target)
            object.insert(QStringLiteral("shortMeasure"), jsonNumber(entry.shortMeasure));
        if (!entry.message.isEmpty())
            object.insert(QStringLiteral("message"), entry.message);
        entries.append(object);
    }
    return QJsonDocument(entries).toJson();
}

// The table as text, its columns padded to their widest cell.
QByteArray textOf(const Comparison& comparison)
{
    const QList<QStringList> rows = comparison::table(comparison);
    QList<int> widths;
    for (int c = 0; c < rows.first().size(); ++c) {
        int width = 0;
        for (const QStringList& row : rows)
            width = std::max(width, int(row[c].size()));
        widths << width;
    }
    const auto line = [&](const QStringList& cells) {
        QStringList padded;
        for (int c = 0; c < cells.size(); ++c)
            padded << cells[c].leftJustified(widths[c]);
        return QStringLiteral("  ") + padded.join(QStringLiteral("  ")).trimmed() +
               QLatin1Char('\n');
    };
    QString text =
        QStringLiteral("Comparison of Designs\n\n%1\n\n").arg(comparison.request.describe());
    text += line(rows.first());
    QStringList rules;
    for (int width : widths)
        rules << QString(width, QLatin1Char('-'));
    text += line(rules);
    for (int r = 1; r < rows.size(); ++r)
        text += line(rows[r]);
    const QString verdict = comparison::verdict(comparison);
    if (!verdict.isEmpty())
        text += QStringLiteral("\n") + verdict + QStringLiteral("\n");
    return text.toUtf8();
}

// The comparison window's report (its title, what was asked, the table and
// the verdict) as a report file.
QByteArray reportFileOf(const Comparison& comparison, CalcRequest::Format format, QString* error)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const ryn::RynStyle style;
    ComparisonReport(style, comparison).write(cursor);
    return reportFile(document, format, error);
}

} // namespace

namespace CompareOutput {

void addOptions(QCommandLineParser& parser)
{
    parser.addOptions({{compareName, QString()}, {budgetName, QString(), QStringLiteral("fish")}});
}

bool isSet(const QCommandLineParser& parser)
{
    return parser.isSet(compareName);
}

QString read(const QCommandLineParser& parser, ComparisonRequest* request)
{
    if (!parser.isSet(compareName)) {
        if (parser.isSet(budgetName))
            return QStringLiteral("--budget is taken only with --compare");
        return QString();
    }
    if (parser.values(budgetName).size() > 1)
        return QStringLiteral("--budget is given more than once");
    const QString target = PlanOptions::targetText(parser);
    const bool budget = parser.isSet(budgetName);
    if (budget == false && target.isNull())
        return QStringLiteral("--compare needs --target MEASURE=VALUE or --budget FISH");
    if (budget) {
        request->mode = ComparisonRequest::Budget;
        bool whole = false;
        request->budget = parser.value(budgetName).toLongLong(&whole);
        if (!whole || request->budget < 1)
            return QStringLiteral("--budget must be a whole number of fish above 0: %1")
                .arg(parser.value(budgetName));
    }
    if (!target.isNull()) {
        const QString error =
            PlanOptions::readTarget(target, &request->measure, &request->value, budget);
        if (!error.isNull())
            return error;
    }
    return QString();
}

QString help()
{
    return QStringLiteral(
        "Designs side by side (each DESIGN-FILE given as FILE:QUANTITY, two to six):\n"
        "      --compare            compare the designs: with --target MEASURE=VALUE\n"
        "                           the fewest fish of each that meet it (as --solve\n"
        "                           release finds them); with --budget the measure\n"
        "                           each reaches\n"
        "      --budget FISH        every design's release sizes scaled to FISH fish\n"
        "                           in all; --target MEASURE (default hw95) names the\n"
        "                           measure, =VALUE adds whether it is met\n");
}

int compareDesigns(const QList<ComparedDesign>& designs, const ComparisonRequest& request,
                   CalcRequest::Format format, QByteArray* output)
{
    ProgressLine progress;
    ConsoleMonitor monitor(QStringLiteral("comparison"), progress);
    Comparison comparison;
    QString error;
    const bool compared = comparison::compare(designs, request, &comparison, &error, &monitor);
    progress.end();
    if (ConsoleMonitor::interrupted()) {
        std::fputs("quorvel-calc: Cancelled!\n", stderr);
        return ExitStatus::interrupted;
    }
    if (!compared) {
        std::fputs(QStringLiteral("quorvel-calc: %1\n").arg(error).toUtf8(), stderr);
        return ExitStatus::refused;
    }
    switch (format) {
    case CalcRequest::Csv:
        *output = comparison::csv(comparison).toUtf8();
        break;
    case CalcRequest::Json:
        *output = jsonOf(comparison);
        break;
    case CalcRequest::Html:
    case CalcRequest::Odt:
    case CalcRequest::Pdf: {
        QString fileError;
        *output = reportFileOf(comparison, format, &fileError);
        if (!fileError.isEmpty()) {
            std::fputs(QStringLiteral("quorvel-calc: %1\n").arg(fileError).toUtf8(), stderr);
            return ExitStatus::failed;
        }
        break;
    }
    case CalcRequest::Text:
        *output = textOf(comparison);
        break;
    }
    return ExitStatus::success;
}

} // namespace CompareOutput
