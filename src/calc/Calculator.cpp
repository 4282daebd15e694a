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
#include <QTextCursor>
#include <QTextDocument>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>
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

// The output of computed runs, or of their checks when they were made,
// whole: for one run its output, for several one CSV table with a design
// column, a JSON array, or the reports one after another, each headed by its
// design's name.
QByteArray wholeOutput(const std::vector<const DesignRun*>& runs,
                       const QList<const CheckedDesign*>& checks, const QStringList& labels,
                       CalcRequest::Format format, bool power)
{
    if (!checks.isEmpty())
        return simulationOutput(checks, format);
    switch (format) {
    case CalcRequest::Csv: {
        if (runs.size() == 1)
            return ResultsCsv::table(runs.front()->precisionTable(), testOf(*runs.front(), power))
                .toUtf8();
        QList<QPair<QString, PrecisionTable>> tables;
        QList<EffectTest> tests;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            tables.append({labels[int(i)], runs[i]->precisionTable()});
            if (power)
                tests.append(runs[i]->design().options.effect);
        }
        return ResultsCsv::batch(tables, tests).toUtf8();
    }
    case CalcRequest::Json: {
        QList<JsonResults> results;
        for (std::size_t i = 0; i < runs.size(); ++i)
            results.append({runs[i], labels[int(i)], testOf(*runs[i], power)});
        QByteArray json;
        writeResultsJson(results, runs.size() > 1, [&json](const QByteArray& piece) {
            json += piece;
            return true;
        });
        return json;
    }
    case CalcRequest::Html:
    case CalcRequest::Odt:
    case CalcRequest::Pdf:
        return reportFileOf(runs, labels, format, power);
    case CalcRequest::Text:
        break;
    }
    if (runs.size() == 1)
        return reportOf(*runs.front(), power).toUtf8();
    QStringList reports;
    for (std::size_t i = 0; i < runs.size(); ++i)
        reports << QStringLiteral("==> %1 <==\n").arg(labels[int(i)]) + reportOf(*runs[i], power);
    return reports.join(QLatin1Char('\n')).toUtf8();
}

// An output is written in pieces that Ctrl-C can stop between: its Pieces
// hand each piece to the PieceWriter in turn and answer false as soon as the
// writer does (Ctrl-C, or a failed write), true when every piece was taken.
using PieceWriter = std::function<bool(const QByteArray&)>;
using Pieces = std::function<bool(const PieceWriter&)>;

// A test hook: QUORVEL_CALC_TEST_PIECE_DELAY (milliseconds) makes every
// piece of an output, and every output made whole, take that much longer,
// so that a test can press Ctrl-C while a small output is made or written.
std::chrono::milliseconds pieceDelay()
{
    static const std::chrono::milliseconds delay(
        qEnvironmentVariableIntValue("QUORVEL_CALC_TEST_PIECE_DELAY"));
    return delay;
}

// make() run on a worker thread while this one watches for Ctrl-C. Qt lays
// out and paints a report in calls that cannot be interrupted (a PDF of a
// 99-reach design over a range takes seconds): on Ctrl-C the program ends at
// once with status 130, the worker's output unfinished in memory and nothing
// written.
QByteArray madeWatchingCtrlC(const std::function<QByteArray()>& make)
{
    std::packaged_task<QByteArray()> task([&make] {
        std::this_thread::sleep_for(pieceDelay());
        return make();
    });
    std::future<QByteArray> made = task.get_future();
    std::thread worker(std::move(task));
    while (made.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        if (ConsoleMonitor::interrupted()) {
            complain(QStringLiteral("Cancelled!"));
            ConsoleOutput::abandon(ExitStatus::interrupted);
        }
    }
    worker.join();
    return made.get();
}

// content in pieces of a megabyte.
bool writeInPieces(const QByteArray& content, const PieceWriter& write)
{
    constexpr int pieceSize = 1 << 20;
    for (int at = 0; at < content.size(); at += pieceSize)
        if (!write(content.mid(at, pieceSize)))
            return false;
    return true;
}

// The output of runs (see wholeOutput) in pieces: the results JSON point by
// point as it is written, never whole; any other output made whole, watching
// for Ctrl-C, then written in pieces.
Pieces outputPieces(const std::vector<const DesignRun*>& runs,
                    const QList<const CheckedDesign*>& checks, const QStringList& labels,
                    CalcRequest::Format format, bool power)
{
    if (checks.isEmpty() && format == CalcRequest::Json) {
        QList<JsonResults> results;
        for (std::size_t i = 0; i < runs.size(); ++i)
            results.append({runs[i], labels[int(i)], testOf(*runs[i], power)});
        const bool asArray = runs.size() > 1;
        return [results, asArray](const PieceWriter& write) {
            return writeResultsJson(results, asArray, write);
        };
    }
    return [=](const PieceWriter& write) {
        return writeInPieces(
            madeWatchingCtrlC([&] { return wholeOutput(runs, checks, labels, format, power); }),
            write);
    };
}

// Content already made, as pieces.
Pieces piecesOf(const QByteArray& content)
{
    return [content](const PieceWriter& write) { return writeInPieces(content, write); };
}

// No output path, or "-", is standard output.
bool isStandardOutput(const QString& path)
{
    return path.isNull() || path == QLatin1String("-");
}

// How the writing of an output ended.
enum class Written { Whole, Failed, Cancelled };

// Standard output, or the file, written through a temporary file or
// directly into a FIFO or device (ryn::saveFile), piece by piece. Ctrl-C
// stops it between pieces, and while the open of a FIFO waits for a reader:
// a file is then left as it was (the temporary file removed); what went to
// standard output, a FIFO or a device stays written.
Written writeOutput(const QString& path, const Pieces& pieces)
{
    const auto cancelled = [] {
        std::this_thread::sleep_for(pieceDelay());
        return ConsoleMonitor::interrupted();
    };
    if (isStandardOutput(path)) {
        const bool written = pieces([&cancelled](const QByteArray& piece) {
            return !cancelled() && ConsoleOutput::write(piece);
        });
        return ConsoleMonitor::interrupted() ? Written::Cancelled
               : written                     ? Written::Whole
                                             : Written::Failed;
    }
    ryn::SaveFailure failure;
    const bool saved = ryn::saveFile(
        path, QIODevice::NotOpen,
        [&pieces, &cancelled](QIODevice& device) {
            QString reason;
            const bool written = pieces([&](const QByteArray& piece) {
                if (cancelled())
                    return false;
                if (device.write(piece) == piece.size())
                    return true;
                reason = device.errorString();
                return false;
            });
            if (ConsoleMonitor::interrupted())
                return QStringLiteral("Cancelled!");
            return written || !reason.isEmpty() ? reason : QStringLiteral("Unknown error");
        },
        &failure, &ConsoleMonitor::interruptFlag());
    if (ConsoleMonitor::interrupted())
        return Written::Cancelled;
    if (!saved)
        complain(QStringLiteral("Cannot write %1: %2").arg(path, failure.reason));
    return saved ? Written::Whole : Written::Failed;
}

// The status of a single output written from content: 130 with "Cancelled!"
// when Ctrl-C stopped it.
int writtenStatus(const QString& path, const QByteArray& content)
{
    const Written written = writeOutput(path, piecesOf(content));
    if (written == Written::Cancelled || ConsoleMonitor::interrupted()) {
        complain(QStringLiteral("Cancelled!"));
        return ExitStatus::interrupted;
    }
    return written == Written::Whole ? ExitStatus::success : ExitStatus::failed;
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
// output) and their pieces. Two designs whose outputs in a folder would have
// one name are refused.
bool outputsOf(const std::vector<std::unique_ptr<DesignRun>>& runs, const Checks& checks,
               const QList<Source>& sources, const CalcRequest& request,
               QList<QPair<QString, Pieces>>* outputs)
{
    const CalcRequest::Format format = request.format;
    const bool power = request.effect.power;
    if (request.output.isNull() || !QFileInfo(request.output).isDir()) {
        std::vector<const DesignRun*> all;
        QList<const CheckedDesign*> allChecks;
        QStringList labels;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            all.push_back(runs[i].get());
            labels << sources[int(i)].label;
        }
        for (const auto& checked : checks)
            allChecks.append(checked.get());
        outputs->append({request.output, outputPieces(all, allChecks, labels, format, power)});
        return true;
    }
    const QDir folder(request.output);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Source& source = sources[int(i)];
        const QString path = folder.filePath(source.baseName + extension(format));
        for (const auto& output : *outputs) {
            if (output.first == path) {
                complain(QStringLiteral("%1: its output would replace that of another design: %2")
                             .arg(source.label, path));
                return false;
            }
        }
        QList<const CheckedDesign*> check;
        if (!checks.empty())
            check.append(checks[i].get());
        outputs->append(
            {path, outputPieces({runs[i].get()}, check, {source.label}, format, power)});
    }
    return true;
}

// Writes the outputs, each made and written in pieces between which Ctrl-C
// stops the writing (status 130); a Ctrl-C after the last piece still
// counts, so that a run Ctrl-C reached never ends in success.
int writeOutputs(const std::vector<std::unique_ptr<DesignRun>>& runs, const Checks& checks,
                 const QList<Source>& sources, const CalcRequest& request)
{
    QList<QPair<QString, Pieces>> outputs;
    if (!outputsOf(runs, checks, sources, request, &outputs))
        return ExitStatus::refused;
    int status = ExitStatus::success;
    for (const auto& [path, pieces] : outputs) {
        const Written written = writeOutput(path, pieces);
        if (written == Written::Cancelled || ConsoleMonitor::interrupted()) {
            complain(QStringLiteral("Cancelled!"));
            return ExitStatus::interrupted;
        }
        if (written == Written::Failed)
            status = ExitStatus::failed;
    }
    return status;
}

// Writes output to request's file or standard output.
int writePlain(const CalcRequest& request, const QByteArray& output)
{
    return writtenStatus(request.output, output);
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
        return writtenStatus(request.output, plans);
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
