#include "CalcTestSupport.h"

#include "FileContent.h"
#include "RecordingMonitor.h"
#include "Tolerance.h"
#include "calc/DesignRun.h"
#include "calc/ResultsJson.h"
#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel::test;

namespace {

bool isFifo(const QString& path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// quorvel-calc with its standard output on the full device.
CalcResult runIntoFullDevice(const QStringList& arguments)
{
    QProcess calc;
    calc.setStandardOutputFile(QStringLiteral("/dev/full"));
    calc.start(QStringLiteral(QUORVEL_CALC), arguments);
    CalcResult result;
    if (!calc.waitForFinished(120000) || calc.exitStatus() != QProcess::NormalExit)
        return result;
    result.status = calc.exitCode();
    result.err = QString::fromUtf8(calc.readAllStandardError());
    return result;
}

} // namespace

// An output that is one of the design files (itself, through a link, or in
// the output folder under its own name) is refused before anything is
// computed, naming both, and every design file keeps its content.
TEST(CalculatorOutput, AnOutputThatWouldReplaceADesignFileIsRefused)
{
    QTemporaryDir folder;
    QStringList designs;
    for (const DesignInfo& design : designs::all()) {
        QFile::copy(examplePath(design.name), folder.filePath(design.name + ".json"));
        designs << design.name + ".json";
    }
    QFile::link(folder.filePath("btps.json"), folder.filePath("link.json"));
    ::link(QFile::encodeName(folder.filePath("btps.json")).constData(),
           QFile::encodeName(folder.filePath("hard.json")).constData());
    const struct
    {
        QStringList arguments;
        QString output;
        QString input;
    } cases[] = {
        {QStringList{"-f", "json", "-o", "."} + designs, "./" + designs[0], designs[0]},
        {{"-o", "tirr.json", "tirr.json"}, "tirr.json", "tirr.json"},
        {{"-o", "link.json", "vwp.json", "btps.json"}, "link.json", "btps.json"},
        {{"-f", "csv", "-o", "hard.json", "btps.json"}, "hard.json", "btps.json"},
        {{"--solve", "release", "--for", "T", "--target", "se=0.05", "-o", "btps.json",
          "btps.json"},
         "btps.json",
         "btps.json"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CalcResult result = runCalc(c.arguments, folder.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "quorvel-calc: The output " + c.output +
                                  " would replace the design file " + c.input + "\n");
        EXPECT_TRUE(result.out.isEmpty());
        for (const DesignInfo& design : designs::all())
            EXPECT_EQ(contentOf(folder.filePath(design.name + ".json")), exampleText(design.name));
    }
    // Another file of the same name elsewhere is an earlier output, replaced.
    QDir().mkpath(folder.filePath("out"));
    QFile::copy(examplePath("tirr"), folder.filePath("out/tirr.csv"));
    EXPECT_EQ(runCalc({"-f", "csv", "-o", "out", "tirr.json"}, folder.path()).status, 0);
}

// A standard output that takes nothing (a full disk) is a failure with one
// line saying so, whatever the format, the size or the command.
TEST(CalculatorOutput, AFullStandardOutputIsAFailureWithAMessage)
{
    const QString small = examplePath("btps");
    const QString large = examplePath("tirr"); // 90 points: beyond any buffer
    const QList<QStringList> commands = {
        {small},
        {large},
        {"-f", "csv", small},
        {"-f", "csv", large},
        {"-f", "json", small},
        {"-f", "json", large},
        {"-o", "-", small},
        {"--solve", "release", "--for", "T", "--target", "se=0.05", small},
        {"--simulate", "20", small},
        {"--simulate", "20", "-f", "csv", large},
        {"--help"},
    };
    for (const QStringList& arguments : commands) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const CalcResult result = runIntoFullDevice(arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "quorvel-calc: Cannot write to standard output: No space left on "
                              "device\n");
    }
}

// A FIFO named as the output is written into, for its reader, and stays a
// FIFO.
TEST(CalculatorOutput, AFifoIsWrittenWhereItIsAndStaysAFifo)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("results");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess calc;
    calc.start(QStringLiteral(QUORVEL_CALC), {"-f", "csv", "-o", fifo, examplePath("btps")});
    QFile reader(fifo);
    ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
    const QByteArray received = reader.readAll();
    ASSERT_TRUE(calc.waitForFinished(60000));
    EXPECT_EQ(calc.exitCode(), 0) << calc.readAllStandardError().toStdString();
    EXPECT_TRUE(isFifo(fifo));
    EXPECT_EQ(QString::fromUtf8(received), runCalc({"-f", "csv", examplePath("btps")}).out);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
              QStringList{"results"});
}

// Ctrl-C during a check of two billion fish per group ends the program at
// once, as it would at a thousand: each group's returns are one draw.
TEST(CalculatorOutput, CtrlCEndsACheckOfTwoBillionFishPerGroupAtOnce)
{
    QTemporaryDir folder;
    QByteArray design = exampleText("btps");
    design.replace("\"1000\"", "\"2000000000\"");
    QFile file(folder.filePath("huge.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(design);
    file.close();

    QProcess calc;
    calc.start(QStringLiteral(QUORVEL_CALC), {"--simulate", "1000000", file.fileName()});
    calc.setReadChannel(QProcess::StandardError);
    QByteArray progress;
    while (!progress.contains(" data sets") && calc.waitForReadyRead(60000))
        progress += calc.readAllStandardError();
    ASSERT_TRUE(progress.contains(" of 1000000 data sets")) << progress.toStdString();
    ::kill(pid_t(calc.processId()), SIGINT);
    // A guard against a hang, far above the tenth of a second it takes.
    ASSERT_TRUE(calc.waitForFinished(5000));
    EXPECT_EQ(calc.exitCode(), 130);
    EXPECT_TRUE(calc.readAllStandardError().contains("huge.json: Cancelled!\n"));
}

namespace {

// quorvel-calc started in folder with arguments, each piece of its output
// delayed by delayMs (its test hook).
void startSlowly(QProcess& calc, const QString& folder, const QStringList& arguments, int delayMs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUORVEL_CALC_TEST_PIECE_DELAY", QString::number(delayMs));
    calc.setProcessEnvironment(environment);
    calc.setWorkingDirectory(folder);
    calc.start(QStringLiteral(QUORVEL_CALC), arguments);
}

// The kernel's name for what the process waits in ("wait_for_partner" for
// the open of a FIFO without a reader).
QByteArray waitChannel(qint64 pid)
{
    QFile wchan(QStringLiteral("/proc/%1/wchan").arg(pid));
    return wchan.open(QIODevice::ReadOnly) ? wchan.readAll() : QByteArray();
}

// Whether the process has a file in folder open other than the design file
// it reads: its output, written through a temporary file that may have no
// name yet.
bool writesIn(qint64 pid, const QString& folder, const QString& design)
{
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                   QDir::NoDotAndDotDot)) {
        char target[4096];
        const ssize_t size = ::readlink(QFile::encodeName(descriptors.filePath(fd)).constData(),
                                        target, sizeof target);
        const QString file = size > 0 ? QString::fromLocal8Bit(target, int(size)) : QString();
        if (file.startsWith(folder + "/") && file != folder + "/" + design)
            return true;
    }
    return false;
}

// Whether a thread of the process besides its main one sleeps: the worker
// that makes a report, held back by the test hook.
bool workerSleeps(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile wchan(tasks.filePath(task + "/wchan"));
        if (task != QString::number(pid) && wchan.open(QIODevice::ReadOnly) &&
            wchan.readAll().contains("nanosleep"))
            return true;
    }
    return false;
}

// Polls condition every 10 ms for up to ten seconds.
bool eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        QThread::msleep(10);
    }
    return false;
}

} // namespace

// Ctrl-C while an output is written, between its pieces (here the JSON of
// the paired example, point by point, each piece slowed by the test hook):
// status 130, "Cancelled!", and neither the output nor its temporary file
// left.
TEST(CalculatorOutput, CtrlCWhileAnOutputIsWrittenLeavesNothing)
{
    QTemporaryDir folder;
    QFile::copy(examplePath("paired"), folder.filePath("paired.json"));
    QProcess calc;
    startSlowly(calc, folder.path(), {"-f", "json", "-o", "out.json", "paired.json"}, 400);
    const QDir dir(folder.path());
    ASSERT_TRUE(eventually([&] {
        return writesIn(calc.processId(), folder.path(), "paired.json");
    })) << "the output was never opened";
    ::kill(pid_t(calc.processId()), SIGINT);
    // A guard against a hang, far above the few tenths of a second it takes.
    ASSERT_TRUE(calc.waitForFinished(5000));
    EXPECT_EQ(calc.exitCode(), 130);
    EXPECT_EQ(calc.readAllStandardError(), "quorvel-calc: Cancelled!\n");
    EXPECT_EQ(dir.entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"paired.json"});
}

// Ctrl-C while a report is made (laid out and painted by Qt in calls that
// cannot be interrupted, here held back by the test hook for 20 s) ends the
// program at once, with nothing written.
TEST(CalculatorOutput, CtrlCWhileAReportIsMadeEndsAtOnce)
{
    QTemporaryDir folder;
    QFile::copy(examplePath("single"), folder.filePath("single.json"));
    QProcess calc;
    startSlowly(calc, folder.path(), {"-f", "pdf", "-o", "out.pdf", "single.json"}, 20000);
    ASSERT_TRUE(calc.waitForStarted());
    ASSERT_TRUE(eventually([&] { return workerSleeps(calc.processId()); }))
        << "the report was never made on a worker";
    ::kill(pid_t(calc.processId()), SIGINT);
    // Well before the report would be made.
    ASSERT_TRUE(calc.waitForFinished(5000));
    EXPECT_EQ(calc.exitCode(), 130);
    EXPECT_TRUE(calc.readAllStandardError().endsWith("quorvel-calc: Cancelled!\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"single.json"});
}

// A FIFO without a reader: its open waits, and Ctrl-C ends the wait (status
// 130); the FIFO stays what it is.
TEST(CalculatorOutput, CtrlCEndsTheWaitForAFifosReader)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("results");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess calc;
    calc.start(QStringLiteral(QUORVEL_CALC), {"-f", "csv", "-o", fifo, examplePath("btps")});
    ASSERT_TRUE(calc.waitForStarted());
    ASSERT_TRUE(eventually([&] {
        return waitChannel(calc.processId()).contains("wait_for_partner");
    })) << "the open of the FIFO did not wait";
    ::kill(pid_t(calc.processId()), SIGINT);
    const bool finished = calc.waitForFinished(5000);
    if (!finished)
        calc.kill();
    ASSERT_TRUE(finished) << "Ctrl-C did not end the wait";
    EXPECT_EQ(calc.exitCode(), 130);
    EXPECT_EQ(calc.readAllStandardError(), "quorvel-calc: Cancelled!\n");
    EXPECT_TRUE(isFifo(fifo));
}

// The results JSON written in pieces is, byte for byte, the document of the
// whole results: for one run with its covariances (a ranged paired release)
// and for an array of runs with their tests. Writing stops at the first
// piece refused.
TEST(CalculatorOutput, ResultsJsonInPiecesIsTheWholeDocument)
{
    std::vector<std::unique_ptr<DesignRun>> runs;
    for (const char* name : {"paired", "btps", "single"}) {
        Design design;
        QString error;
        QByteArray text = exampleText(name);
        if (QByteArray(name) == "paired")
            text.replace("\"1000\"", "\"500:1500\"");
        ASSERT_TRUE(DesignFile::read(text, &design, &error)) << error.toStdString();
        runs.push_back(DesignRun::of(design));
        RecordingMonitor monitor;
        QString message;
        ASSERT_EQ(runs.back()->run(monitor, &message), DesignRun::Computed)
            << message.toStdString();
    }
    ASSERT_GT(runs.front()->precisionTable().pointCount(), 2);

    const auto pieces = [](const QList<JsonResults>& results, bool asArray, int refuseAfter) {
        QList<QByteArray> written;
        const bool whole = writeResultsJson(results, asArray, [&](const QByteArray& piece) {
            if (written.size() == refuseAfter)
                return false;
            written.append(piece);
            return true;
        });
        return std::make_pair(whole, written);
    };

    const QList<JsonResults> one = {{runs[0].get(), "paired.json", nullptr}};
    const auto [oneWhole, onePieces] = pieces(one, false, -1);
    EXPECT_TRUE(oneWhole);
    EXPECT_EQ(onePieces.join(), QJsonDocument(resultsJson(*runs[0], "paired.json")).toJson());
    // The text before the points, each point, the end of the list, the rest.
    EXPECT_EQ(onePieces.size(), runs[0]->precisionTable().pointCount() + 3);

    QList<JsonResults> all;
    QJsonArray array;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const QString label = QStringLiteral("design \"%1\"").arg(i);
        const EffectTest* test = &runs[i]->design().options.effect;
        all.append({runs[i].get(), label, test});
        array.append(resultsJson(*runs[i], label, test));
    }
    const auto [allWhole, allPieces] = pieces(all, true, -1);
    EXPECT_TRUE(allWhole);
    EXPECT_EQ(allPieces.join(), QJsonDocument(array).toJson());

    const auto [stopped, stoppedPieces] = pieces(all, true, 2);
    EXPECT_FALSE(stopped);
    EXPECT_EQ(stoppedPieces.size(), 2);
}
