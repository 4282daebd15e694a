#include "CalcTestSupport.h"

#include "FileContent.h"
#include "Tolerance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
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
