#include "calc/CompareOutput.h"

#include "calc/CommandLine.h"
#include "calc/ConsoleMonitor.h"
#include "calc/PlanOptions.h"
#include "calc/ProgressLine.h"
#include "calc/ResultsJson.h"
#include "studies/common/ResultsCsv.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>

namespace {

const QString compareName = QStringLiteral("compare");
const QString budgetName = QStringLiteral("budget");

QString measureText(double measure)
{
    return std::isfinite(measure) ? QString::number(measure, 'g', 6) : QString();
}

QString sizesText(const ComparisonEntry& entry)
{
    QStringList sizes;
    for (const auto& [key, text] : entry.releaseSizes)
        sizes << key + QStringLiteral(" = ") + text;
    return sizes.join(QStringLiteral(", "));
}

// The answer of one entry in words: "met", or why not.
QString outcomeText(const ComparisonEntry& entry, const ComparisonRequest& request)
{
    if (!entry.answered)
        return entry.message;
    if (request.mode == ComparisonRequest::Target || request.value > 0)
        return entry.met ? QStringLiteral("met") : QStringLiteral("not met");
    return QString();
}

QByteArray textOf(const Comparison& comparison)
{
    const ComparisonRequest& request = comparison.request;
    const QString measure = PlanTarget::measureName(request.measure);
    QStringList heads = {QStringLiteral("Design"),        QStringLiteral("File"),
                         QStringLiteral("Quantity"),      QStringLiteral("Total fish"),
                         QStringLiteral("Release sizes"), measure};
    if (request.mode == ComparisonRequest::Target)
        heads << QStringLiteral("%1 one fish short").arg(measure);
    heads << QStringLiteral("Answer");
    QList<QStringList> rows;
    for (const ComparisonEntry& entry : comparison.entries) {
        QStringList row = {
            entry.title,      entry.label,
            entry.quantity,   entry.totalFish > 0 ? QString::number(entry.totalFish) : QString(),
            sizesText(entry), measureText(entry.measure)};
        if (request.mode == ComparisonRequest::Target)
            row << measureText(entry.shortMeasure);
        row << outcomeText(entry, request);
        rows << row;
    }
    QList<int> widths;
    for (int c = 0; c < heads.size(); ++c) {
        int width = heads[c].size();
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
    QString text = QStringLiteral("Comparison of Designs\n\n%1\n\n").arg(request.describe());
    text += line(heads);
    QStringList rules;
    for (int width : widths)
        rules << QString(width, QLatin1Char('-'));
    text += line(rules);
    for (const QStringList& row : rows)
        text += line(row);
    const int best = comparison.best();
    if (best >= 0) {
        const ComparisonEntry& entry = comparison.entries[best];
        text += request.mode == ComparisonRequest::Target
                    ? QStringLiteral("\nFewest fish: %1 (%2), %3 fish\n")
                          .arg(entry.title, entry.label)
                          .arg(entry.totalFish)
                    : QStringLiteral("\nBest %1: %2 (%3), %4\n")
                          .arg(measure, entry.title, entry.label, measureText(entry.measure));
    }
    return text.toUtf8();
}

QByteArray csvOf(const Comparison& comparison)
{
    QString text = ResultsCsv::row({QStringLiteral("design"), QStringLiteral("file"),
                                    QStringLiteral("quantity"), QStringLiteral("totalFish"),
                                    QStringLiteral("releaseSizes"), QStringLiteral("measure"),
                                    QStringLiteral("value"), QStringLiteral("shortMeasure"),
                                    QStringLiteral("met"), QStringLiteral("message")});
    const QString key = PlanTarget::measureKeys().value(comparison.request.measure);
    for (const ComparisonEntry& entry : comparison.entries) {
        text += ResultsCsv::row(
            {entry.design, entry.label, entry.quantity,
             entry.totalFish > 0 ? QString::number(entry.totalFish) : QString(), sizesText(entry),
             key, entry.answered ? ResultsCsv::number(entry.measure) : QString(),
             std::isfinite(entry.shortMeasure) ? ResultsCsv::number(entry.shortMeasure) : QString(),
             entry.met ? QStringLiteral("true") : QStringLiteral("false"), entry.message});
    }
    return text.toUtf8();
}

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
            {QStringLiteral("met"), entry.met},
        };
        if (comparison.request.mode == ComparisonRequest::Target)
            object.insert(QStringLiteral("shortMeasure"), jsonNumber(entry.shortMeasure));
        if (!entry.message.isEmpty())
            object.insert(QStringLiteral("message"), entry.message);
        entries.append(object);
    }
    return QJsonDocument(entries).toJson();
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
                   const QString& format, QByteArray* output)
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
    if (format == QStringLiteral("csv"))
        *output = csvOf(comparison);
    else if (format == QStringLiteral("json"))
        *output = jsonOf(comparison);
    else
        *output = textOf(comparison);
    return ExitStatus::success;
}

} // namespace CompareOutput
