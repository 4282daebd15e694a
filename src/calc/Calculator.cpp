#include "calc/Calculator.h"

#include "calc/CompareOutput.h"
#include "calc/ConsoleMonitor.h"
#include "calc/ConsoleOutput.h"
#include "calc/DesignRun.h"
#include "calc/GuessOutput.h"
#include "calc/PlanOutput.h"
#include "calc/ProgressLine.h"
#include "calc/ReportText.h"
#include "calc/ResultsJson.h"
#include "calc/SimulationCheckRun.h"
#include "framework/files/OutputPath.h"
#include "framework/files/SaveFile.h"
#include "framework/settings/QVSettingsKeys.h"
#include "framework/settings/RynSettings.h"
#include "framework/style/RynStyle.h"
#include "studies/common/ResultsCsv.h"
#include "studies/design/DesignFile.h"
#include "studies/design/DesignSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <vector>

namespace {

void complain(const QString& message)
{
    ConsoleOutput::complain(message);
}

// One design to compute: the name it is known by in messages and outputs,
// the base name of its own output file, and the design.
struct Source
{
    QString label;
    QString baseName;
    Design design;
};

// The design as the window last stored it, read through the program's table
// of settings from the window's own store.
Source storedSource(const QString& name)
{
    ryn::RynSettings store;
    for (const QVSettingsKeys::Entry& entry : QVSettingsKeys::entries())
        store.registerKey(entry.id, QString::fromLatin1(entry.key), entry.defaultValue,
                          [rule = entry.rule](const QVariant& stored) {
                              return QVSettingsKeys::accepts(rule, stored);
                          });
    for (const QString& key : store.refusedValues())
        complain(QStringLiteral("The stored setting %1 holds a value outside its range: its "
                                "default is used")
                     .arg(key));
    const DesignInfo& info = *designs::named(name);
    const Design design = DesignSettings::stored(
        info.kind, [&store](int id, int index) { return store.arrayValue(id, index); });
    return {name + QStringLiteral(" (stored settings)"), name, design};
}

QString extension(CalcRequest::Format format)
{
    switch (format) {
    case CalcRequest::Csv:
        return QStringLiteral(".csv");
    case CalcRequest::Json:
        return QStringLiteral(".json");
    case CalcRequest::Html:
        return QStringLiteral(".html");
    case CalcRequest::Odt:
        return QStringLiteral(".odt");
    case CalcRequest::Pdf:
        return QStringLiteral(".pdf");
    case CalcRequest::Text:
        break;
    }
    return QStringLiteral(".txt");
}

// The reports of runs as one file in a report format, as the window saves a
// report; several reports follow one another, each from a new page, headed
// by its design's name.
QByteArray reportFileOf(const std::vector<const DesignRun*>& runs, const QStringList& labels,
                        CalcRequest::Format format, bool power)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const ryn::RynStyle style;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        cursor.movePosition(QTextCursor::End);
        if (runs.size() > 1) {
            QTextBlockFormat head = style.paragraphFormat;
            if (i > 0) {
                head.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                cursor.insertBlock(head);
            } else {
                cursor.setBlockFormat(head);
            }
            cursor.insertText(labels[int(i)], style.heading2Format);
            cursor.insertBlock(style.paragraphFormat);
        }
        runs[i]->writeReport(cursor, style, power);
    }
    QString error;
    const QByteArray file = reportFile(document, format, &error);
    if (!error.isEmpty())
        complain(error);
    return file;
}

// The design's report, with the power of its tests with power.
QString reportOf(const DesignRun& run, bool power)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const ryn::RynStyle style;
    run.writeReport(cursor, style, power);
    return reportText(document);
}

// The test of a run's design when its power is asked for.
const EffectTest* testOf(const DesignRun& run, bool power)
{
    return power ? &run.design().options.effect : nullptr;
}

// The checks by simulation made, one per computed run; none without
// --simulate.
using Checks = std::vector<std::unique_ptr<CheckedDesign>>;

// One computed run's output in format, or its check's when one was made.
QByteArray outputOf(const DesignRun& run, const Source& source, const CheckedDesign* checked,
                    CalcRequest::Format format, bool power)
{
    if (checked != nullptr)
        return simulationOutput({checked}, format);
    switch (format) {
    case CalcRequest::Csv:
        return ResultsCsv::table(run.precisionTable(), testOf(run, power)).toUtf8();
    case CalcRequest::Json:
        return QJsonDocument(resultsJson(run, source.label, testOf(run, power))).toJson();
    case CalcRequest::Html:
    case CalcRequest::Odt:
    case CalcRequest::Pdf:
        return reportFileOf({&run}, {source.label}, format, power);
    case CalcRequest::Text:
        break;
    }
    return reportOf(run, power).toUtf8();
}

// The output of several computed runs together: one CSV table with a design
// column, a JSON array, or the reports one after another, each headed by its
// design's name.
QByteArray combinedOutput(const std::vector<std::unique_ptr<DesignRun>>& runs, const Checks& checks,
                          const QList<Source>& sources, CalcRequest::Format format, bool power)
{
    if (!checks.empty()) {
        QList<const CheckedDesign*> all;
        for (const auto& checked : checks)
            all.append(checked.get());
        return simulationOutput(all, format);
    }
    if (runs.size() == 1)
        return outputOf(*runs.front(), sources.front(), nullptr, format, power);
    switch (format) {
    case CalcRequest::Csv: {
        QList<QPair<QString, PrecisionTable>> tables;
        QList<EffectTest> tests;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            tables.append({sources[int(i)].label, runs[i]->precisionTable()});
            if (power)
                tests.append(runs[i]->design().options.effect);
        }
        return ResultsCsv::batch(tables, tests).toUtf8();
    }
    case CalcRequest::Json: {
        QJsonArray array;
        for (std::size_t i = 0; i < runs.size(); ++i)
            array.append(resultsJson(*runs[i], sources[int(i)].label, testOf(*runs[i], power)));
        return QJsonDocument(array).toJson();
    }
    case CalcRequest::Html:
    case CalcRequest::Odt:
    case CalcRequest::Pdf: {
        std::vector<const DesignRun*> reports;
        QStringList labels;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            reports.push_back(runs[i].get());
            labels << sources[int(i)].label;
        }
        return reportFileOf(reports, labels, format, power);
    }
    case CalcRequest::Text:
        break;
    }
    QStringList reports;
    for (std::size_t i = 0; i < runs.size(); ++i)
        reports << QStringLiteral("==> %1 <==\n").arg(sources[int(i)].label) +
                       reportOf(*runs[i], power);
    return reports.join(QLatin1Char('\n')).toUtf8();
}

// No output path, or "-", is standard output.
bool isStandardOutput(const QString& path)
{
    return path.isNull() || path == QLatin1String("-");
}

// Standard output, or the file, written whole through a temporary file or
// directly into a FIFO or device (ryn::saveFile).
bool writeOutput(const QString& path, const QByteArray& content)
{
    if (isStandardOutput(path))
        return ConsoleOutput::write(content);
    ryn::SaveFailure failure;
    const bool saved = ryn::saveFile(
        path, QIODevice::NotOpen,
        [&content](QIODevice& device) {
            return device.write(content) == content.size() ? QString() : device.errorString();
        },
        &failure);
    if (!saved)
        complain(QStringLiteral("Cannot write %1: %2").arg(path, failure.reason));
    return saved;
}

// The first output of request that would replace one of its design files,
// told as a refusal naming both; null when none would. A folder output
// holds one file per design, named after it; a comparison names its files
// as FILE:QUANTITY and writes one output.
QString replacedInput(const CalcRequest& request)
{
    if (isStandardOutput(request.output))
        return QString();
    const bool folder = !request.solve && !request.compare &&
                        request.guesses.kind == GuessRequest::None &&
                        QFileInfo(request.output).isDir();
    for (QString input : request.files) {
        QString quantity;
        if (request.compare && !comparison::splitSource(input, &input, &quantity))
            continue;
        const QString output =
            folder ? QDir(request.output)
                         .filePath(QFileInfo(input).completeBaseName() + extension(request.format))
                   : request.output;
        if (ryn::OutputPath::replaces(output, input))
            return QStringLiteral("The output %1 would replace the design file %2")
                .arg(output, input);
    }
    return QString();
}

// The outputs of the computed runs: their paths (a null path for standard
// output) and contents. Two designs whose outputs in a folder would have one
// name are refused.
bool outputsOf(const std::vector<std::unique_ptr<DesignRun>>& runs, const Checks& checks,
               const QList<Source>& sources, const CalcRequest& request,
               QList<QPair<QString, QByteArray>>* outputs)
{
    if (request.output.isNull() || !QFileInfo(request.output).isDir()) {
        outputs->append({request.output, combinedOutput(runs, checks, sources, request.format,
                                                        request.effect.power)});
        return true;
    }
    const QDir folder(request.output);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Source& source = sources[int(i)];
        const QString path = folder.filePath(source.baseName + extension(request.format));
        for (const auto& output : *outputs) {
            if (output.first == path) {
                complain(QStringLiteral("%1: its output would replace that of another design: %2")
                             .arg(source.label, path));
                return false;
            }
        }
        outputs->append(
            {path, outputOf(*runs[i], source, checks.empty() ? nullptr : checks[i].get(),
                            request.format, request.effect.power)});
    }
    return true;
}

// Writes the outputs unless Ctrl-C came while they were made.
int writeOutputs(const std::vector<std::unique_ptr<DesignRun>>& runs, const Checks& checks,
                 const QList<Source>& sources, const CalcRequest& request)
{
    QList<QPair<QString, QByteArray>> outputs;
    if (!outputsOf(runs, checks, sources, request, &outputs))
        return ExitStatus::refused;
    if (ConsoleMonitor::interrupted()) {
        complain(QStringLiteral("Cancelled!"));
        return ExitStatus::interrupted;
    }
    int status = ExitStatus::success;
    for (const auto& [path, content] : outputs) {
        if (!writeOutput(path, content))
            status = ExitStatus::failed;
    }
    return status;
}

// Writes output to request's file or standard output.
int writePlain(const CalcRequest& request, const QByteArray& output)
{
    return writeOutput(request.output, output) ? ExitStatus::success : ExitStatus::failed;
}

// --compare: the designs of FILE:QUANTITY compared.
int compareFiles(const CalcRequest& request)
{
    QList<ComparedDesign> designs;
    int status = ExitStatus::success;
    for (const QString& given : request.files) {
        ComparedDesign compared;
        QString file;
        if (!comparison::splitSource(given, &file, &compared.quantity)) {
            complain(QStringLiteral("%1: names no quantity; give FILE:QUANTITY, as in "
                                    "paired.json:St")
                         .arg(given));
            status = ExitStatus::refused;
            continue;
        }
        QString error;
        if (!DesignFile::readFile(file, &compared.design, &error)) {
            complain(file + QStringLiteral(": ") + error);
            status = ExitStatus::refused;
            continue;
        }
        compared.label = file;
        compared.design.options.effect = request.effect.appliedTo(compared.design.options.effect);
        designs.append(compared);
    }
    if (status != ExitStatus::success)
        return status;
    QByteArray output;
    status = CompareOutput::compareDesigns(designs, request.comparison, request.format, &output);
    if (status != ExitStatus::success)
        return status;
    return writePlain(request, output);
}

} // namespace

int calculate(const CalcRequest& request)
{
    const QString replaced = replacedInput(request);
    if (!replaced.isNull()) {
        complain(replaced);
        return ExitStatus::refused;
    }
    if (request.compare)
        return compareFiles(request);
    QList<Source> sources;
    int status = ExitStatus::success;
    if (!request.fromSettings.isNull()) {
        sources.append(storedSource(request.fromSettings));
    } else {
        for (const QString& file : request.files) {
            Source source{file, QFileInfo(file).completeBaseName(), Design()};
            QString error;
            if (DesignFile::readFile(file, &source.design, &error))
                sources.append(source);
            else {
                complain(file + QStringLiteral(": ") + error);
                status = ExitStatus::refused;
            }
        }
    }

    // The test of every design: the file's, with what the command line gives
    // in its place.
    for (Source& source : sources) {
        source.design.options.effect = request.effect.appliedTo(source.design.options.effect);
        const QString testError = source.design.options.effect.error();
        if (!testError.isNull()) {
            complain(source.label + QStringLiteral(": ") + testError);
            status = ExitStatus::refused;
        }
    }

    if (request.solve || request.guesses.kind != GuessRequest::None) {
        if (status != ExitStatus::success)
            return status;
        QList<QPair<QString, Design>> planned;
        for (const Source& source : sources)
            planned.append({source.label, source.design});
        QByteArray plans;
        status =
            request.guesses.kind != GuessRequest::None
                ? analyseGuesses(planned, request, &plans)
                : solvePlans(planned, request.plan, request.format == CalcRequest::Json, &plans);
        if (status != ExitStatus::success)
            return status;
        return writeOutput(request.output, plans) ? ExitStatus::success : ExitStatus::failed;
    }

    ProgressLine progress;
    std::vector<std::unique_ptr<DesignRun>> runs;
    Checks checks;
    for (int i = 0; i < sources.size(); ++i) {
        const Source& source = sources[i];
        const QString label =
            sources.size() == 1
                ? source.label
                : QStringLiteral("%1 of %2, %3").arg(i + 1).arg(sources.size()).arg(source.label);
        ConsoleMonitor monitor(label, progress);
        std::unique_ptr<DesignRun> run = DesignRun::of(source.design);
        QString message;
        DesignRun::Outcome outcome =
            ConsoleMonitor::interrupted() ? DesignRun::Cancelled : run->run(monitor, &message);
        if (outcome == DesignRun::Computed && request.simulation.requested()) {
            checks.push_back(std::make_unique<CheckedDesign>(
                CheckedDesign{source.label, source.design, {}, request.effect.power}));
            outcome = checkBySimulation(*checks.back(), request.simulation, progress, &message);
        }
        if (outcome == DesignRun::Computed) {
            runs.push_back(std::move(run));
            continue;
        }
        progress.end();
        if (outcome == DesignRun::Cancelled) {
            complain(source.label + QStringLiteral(": Cancelled!"));
            return ExitStatus::interrupted;
        }
        complain(source.label + QStringLiteral(": ") + message);
        if (outcome == DesignRun::Refused)
            status = ExitStatus::refused;
        else if (status == ExitStatus::success)
            status = ExitStatus::failed;
    }
    progress.end();
    if (status != ExitStatus::success)
        return status;
    return writeOutputs(runs, checks, sources, request);
}
