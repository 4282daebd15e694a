#include "CalcTestSupport.h"

#include "HostileSettings.h"
#include "RunToEnd.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "calc/ProgressLine.h"
#include "framework/run/ThreadRunner.h"
#include "studies/common/ResultsCsv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>

using namespace quorvel::test;

namespace {

QString written(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The btps example with one input's text replaced.
QByteArray btpsWith(const QByteArray& key, const QByteArray& text)
{
    QByteArray example = exampleText("btps");
    const int at = example.indexOf("\"" + key + "\": \"") + key.size() + 5;
    return example.replace(at, example.indexOf('"', at) - at, text);
}

} // namespace

// Every refused input: exit status 2 and one line naming the problem; a point
// that cannot be computed: status 1. Nothing is written either way.
TEST(CalculatorCommand, BadInputsAreRefusedWithTheWindowsMessagesAndNothingWritten)
{
    QTemporaryDir folder;
    const auto file = [&folder](const QString& name, const QByteArray& text) {
        write(folder.filePath(name), text);
        return name;
    };
    QByteArray paired = exampleText("paired");
    paired.replace("\"RT\": \"1000\"", "\"RT\": \"0\"");
    // No fish survive reach 2, so nothing below it can be estimated.
    QByteArray singular = exampleText("paired");
    singular.replace("\"S2\": \"0.9\"", "\"S2\": \"0.000000000000000000001\"");
    QByteArray tirr = exampleText("tirr");
    tirr.replace("\"T\": \"0.8\"", "\"T\": \"30000000000\"");
    QByteArray vwp = exampleText("vwp");
    vwp.replace("\"V1\": \"2000\"", "\"V1\": \"0\"");
    QByteArray range = btpsWith("Sc", "0.5:0.9");
    range.replace(range.indexOf("1000"), 4, "10:20");
    const struct
    {
        QStringList arguments;
        int status;
        QString message;
    } cases[] = {
        {{"none.json"}, 2, "none.json: Cannot read the file: No such file or directory"},
        {{file("json.json", "{\"design\": \"btps\"}\n  x")},
         2,
         "json.json: Invalid JSON at line 2, column 3: garbage at the end of the document"},
        {{file("design.json", R"({"design": "fry"})")},
         2,
         "design.json: Unknown design \"fry\": the designs are single, paired, tirr, btps and vwp"},
        {{file("name.json", btpsWith("Pd", "0.3\", \"Px\": \"1"))},
         2,
         "name.json: Unknown parameter \"Px\" in a btps design"},
        {{file("missing.json", btpsWith("Sc", "0.8").replace("\"Pa\": \"0.5\",", ""))},
         2,
         "missing.json: Missing input for \"Pa\""},
        {{file("range.json", range)},
         2,
         "range.json: Range already set for Rc: \"Sc\" cannot hold a second range"},
        {{file("illegal.json", btpsWith("Sc", "1.5"))}, 2, "illegal.json: Sc must lie in (0, 1]"},
        {{file("bounds.json", tirr)}, 2, "bounds.json: Out of range value in T: 3e+10"},
        {{file("invalid.json", vwp)}, 2, "invalid.json: V1 must be a whole number of at least 1"},
        {{file("empty.json", paired)}, 2, "empty.json: Rt must be a whole number of at least 1"},
        {{file("singular.json", singular)}, 1, "singular.json: Singular hessian: step = 0"},
        {{"--format", "xml", examplePath("btps")},
         2,
         "Unknown format \"xml\": the formats are text, csv, json, html, odt and pdf"},
        {{"--from-settings", "btps", examplePath("btps")},
         2,
         "--from-settings takes no design files"},
        {{}, 2, "No design file given"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const CalcResult result =
            runCalc(QStringList{"-o", "out.csv"} + c.arguments, folder.path());
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.err.startsWith("quorvel-calc: " + c.message + "\n"))
            << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_FALSE(QFile::exists(folder.filePath("out.csv")));
    }
    const CalcResult unwritable =
        runCalc({"-o", "no/such/folder.txt", examplePath("btps")}, folder.path());
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.err.startsWith("quorvel-calc: Cannot write no/such/folder.txt: "));
}

// A refusal outranks a failure whatever their order, each told on its line;
// an option that takes one value is refused when given twice, as are a total
// of no fish and a plan asked for in a format it is not written in.
TEST(CalculatorCommand, RefusalsOutrankFailuresAndRepeatedOptionsAreRefused)
{
    QTemporaryDir folder;
    write(folder.filePath("illegal.json"), btpsWith("Sc", "1.5"));
    QByteArray paired = exampleText("paired");
    write(folder.filePath("singular.json"),
          paired.replace("\"S2\": \"0.9\"", "\"S2\": \"0.000000000000000000001\""));
    const CalcResult batch = runCalc({"illegal.json", "singular.json"}, folder.path());
    EXPECT_EQ(batch.status, 2);
    const QStringList lines = batch.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << batch.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith("quorvel-calc: illegal.json: Sc must lie in (0, 1]"));
    EXPECT_TRUE(lines[1].startsWith("quorvel-calc: singular.json: "));

    const QString btps = examplePath("btps");
    const struct
    {
        QStringList arguments;
        QString message;
    } refused[] = {
        {{"--format", "csv", "--format", "json", btps}, "--format is given more than once"},
        {{"-o", "a.txt", "--output", "b.txt", btps}, "--output is given more than once"},
        {{"--from-settings", "btps", "--from-settings", "tirr"},
         "--from-settings is given more than once"},
        {{"--solve", "split", "--for", "T", "--target", "se=0.03", "--total", "0", btps},
         "--total must be a whole number of fish above 0: 0"},
        {{"--solve", "release", "--for", "T", "--target", "se=0.03", "-f", "csv", btps},
         "--solve writes its answer as text or json"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CalcResult result = runCalc(c.arguments, folder.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.startsWith("quorvel-calc: " + c.message + "\n"))
            << result.err.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

TEST(CalculatorCommand, BatchesGiveOneOutputEachInAFolderOrOneTogether)
{
    QTemporaryDir folder;
    const QStringList examples = {examplePath("btps"), examplePath("vwp"), examplePath("tirr")};
    const CalcResult separate =
        runCalc(QStringList{"-f", "csv", "-o", folder.path()} + examples, folder.path());
    ASSERT_EQ(separate.status, 0) << separate.err.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              (QStringList{"btps.csv", "tirr.csv", "vwp.csv"}));
    EXPECT_EQ(written(folder.filePath("tirr.csv")),
              runCalc({"-f", "csv", examplePath("tirr")}).out);

    // One table: a design column, the union of the quantities, 1 + 1 + 90 rows.
    const CalcResult together =
        runCalc(QStringList{"-f", "csv", "-o", "all.csv"} + examples, folder.path());
    ASSERT_EQ(together.status, 0);
    const QStringList rows = written(folder.filePath("all.csv")).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 1 + 1 + 1 + 90);
    EXPECT_TRUE(rows[0].startsWith("design,range,value,T estimate,"));
    EXPECT_TRUE(rows[0].contains(",Sdam estimate,"));
    EXPECT_TRUE(rows[2].startsWith(examples[1] + ",,,,,,,,"));
    EXPECT_TRUE(rows[3].startsWith(examples[2] + ",Rc-Rt,100,"));

    // A name with a separator or quotes is quoted, its quotes doubled.
    QFile::copy(examples[0], folder.filePath("a \"best\", design.json"));
    const CalcResult quoted =
        runCalc({"-f", "csv", examples[1], "a \"best\", design.json"}, folder.path());
    EXPECT_TRUE(quoted.out.contains("\n\"a \"\"best\"\", design.json\",,,,,,,,0.8999"))
        << quoted.out.toStdString();

    const CalcResult json = runCalc(QStringList{"-f", "json"} + examples);
    const QJsonArray array = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 3);
    EXPECT_EQ(array[2].toObject()["range"].toString(), "Rc-Rt");
    EXPECT_EQ(array[2].toObject()["points"].toArray().size(), 90);
    const CalcResult text = runCalc(QStringList{examples[0], examples[1]});
    EXPECT_TRUE(text.out.startsWith("==> " + examples[0] + " <==\n"));
    EXPECT_TRUE(text.out.contains("\n==> " + examples[1] + " <==\n"));

    // One design refused: nothing at all is written.
    write(folder.filePath("bad.json"), "{");
    const CalcResult refused =
        runCalc(QStringList{"-f", "csv", "-o", "none.csv"} + examples + QStringList{"bad.json"},
                folder.path());
    EXPECT_EQ(refused.status, 2);
    EXPECT_FALSE(QFile::exists(folder.filePath("none.csv")));
}

TEST(CalculatorCommand, JsonGivesEveryPointsCovarianceOfAReleaseRecaptureDesign)
{
    const CalcResult json = runCalc({"--format", "json", examplePath("paired")});
    ASSERT_EQ(json.status, 0);
    const QJsonObject results = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(results["design"].toString(), "paired");
    EXPECT_TRUE(results["range"].isNull());
    const QJsonArray names = results["covarianceNames"].toArray();
    ASSERT_EQ(names.size(), 10);
    const QJsonObject point = results["points"].toArray()[0].toObject();
    const QJsonArray covariance = point["covariance"].toArray();
    ASSERT_EQ(covariance.size(), 10);
    // The diagonal holds each estimate's variance; the half-widths are 1.645
    // and 1.96 standard errors.
    for (int a = 0; a < names.size(); ++a) {
        const QJsonObject quantity = point["quantities"].toObject()[names[a].toString()].toObject();
        EXPECT_EQ(covariance[a].toArray()[a].toDouble(), quantity["variance"].toDouble());
        const double se = quantity["se"].toDouble();
        EXPECT_REL_NEAR(se * se, quantity["variance"].toDouble(), 1e-12);
        EXPECT_REL_NEAR(quantity["halfWidth90"].toDouble(), 1.645 * se, 1e-12);
        EXPECT_REL_NEAR(quantity["halfWidth95"].toDouble(), 1.96 * se, 1e-12);
    }
}

// The design as the window last stored it: what the window computes from the
// same store.
TEST(CalculatorCommand, FromSettingsComputesWhatTheWindowComputesFromTheStore)
{
    TestStore store;
    store->setValue(QVSettingsKeys::PrNumReaches, 2);
    store->setValue(QVSettingsKeys::PrRt, "500:700");
    store->setValue(QVSettingsKeys::PrRc, "1500");
    store->setValue(QVSettingsKeys::PrSt, "0.85");
    store->setValue(QVSettingsKeys::PrSc, "0.92");
    store->setValue(QVSettingsKeys::PrP1, "0.6");
    store->setValue(QVSettingsKeys::PrD1, "0.2");
    store->setValue(QVSettingsKeys::PrLambda, "0.5");
    store->setArrayValue(QVSettingsKeys::PrS, 0, "0.9");
    store->setArrayValue(QVSettingsKeys::PrP, 0, "0.7");
    store->setArrayValue(QVSettingsKeys::PrD, 0, "0.1");
    QSettings().sync();
    const std::unique_ptr<StudySubWindow> window = windowFor(Design::PairedRelease, store.get());
    ryn::ThreadRunner runner;
    ASSERT_TRUE(runToEnd(*window, runner));

    const QString configHome = QFileInfo(QSettings().fileName()).dir().absolutePath() + "/..";
    const CalcResult csv =
        runCalc({"--format", "csv", "--from-settings", "paired"}, {}, configHome);
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    EXPECT_EQ(csv.out, ResultsCsv::table(window->precisionTable()));
}

// A settings file whose every key holds a value outside its range: each
// design is refused or computed, never a crash, and every key is named; a
// stored paired release with impossible decimals is computed with the
// default ones.
TEST(CalculatorCommand, FromSettingsSurvivesStoredValuesOutsideTheirRanges)
{
    const QStringList hostile = storeHostileSettings();
    const QString configHome = QFileInfo(QSettings().fileName()).dir().absolutePath() + "/..";
    for (const DesignInfo& design : designs::all()) {
        SCOPED_TRACE(design.name.toStdString());
        const CalcResult result = runCalc({"--from-settings", design.name}, {}, configHome);
        EXPECT_GE(result.status, 0);
        EXPECT_LE(result.status, 2);
        for (const QString& key : hostile)
            EXPECT_TRUE(result.err.contains("quorvel-calc: The stored setting " + key +
                                            " holds a value outside its range: its default is "
                                            "used\n"))
                << key.toStdString();
    }

    TestStore store;
    store->setValue(QVSettingsKeys::PrNumReaches, 1);
    const QList<QPair<int, QString>> inputs = {
        {QVSettingsKeys::PrRt, "500:700"}, {QVSettingsKeys::PrRc, "1500"},
        {QVSettingsKeys::PrSt, "0.85"},    {QVSettingsKeys::PrSc, "0.92"},
        {QVSettingsKeys::PrP1, "0.6"},     {QVSettingsKeys::PrD1, "0.2"},
        {QVSettingsKeys::PrLambda, "0.5"}};
    for (const auto& [id, text] : inputs)
        store->setValue(id, text);
    QSettings().sync();
    const CalcResult defaults = runCalc({"--from-settings", "paired"}, {}, configHome);
    ASSERT_EQ(defaults.status, 0) << defaults.err.toStdString();
    QSettings().setValue("precision_est", "2147483647");
    QSettings().setValue("precision_err", "-5");
    QSettings().sync();
    const CalcResult hostileDecimals = runCalc({"--from-settings", "paired"}, {}, configHome);
    EXPECT_EQ(hostileDecimals.status, 0);
    EXPECT_EQ(hostileDecimals.out, defaults.out);
    EXPECT_TRUE(hostileDecimals.err.contains("setting precision_est holds"));
    EXPECT_TRUE(hostileDecimals.err.contains("setting precision_err holds"));
}

// Ctrl-C while a batch of long runs computes: cancelled between points, status
// 130, nothing written.
TEST(CalculatorCommand, CtrlCCancelsBetweenPointsAndWritesNothing)
{
    QTemporaryDir folder;
    QJsonObject inputs = {{"R0", "1000:2000"}, {"Lambda", "0.5"}};
    for (int n = 1; n < 99; ++n) {
        for (const char* p : {"S", "P", "D", "R"})
            inputs[p + QString::number(n)] = *p == 'S' || *p == 'P' ? "0.8" : "0";
    }
    const QByteArray design =
        QJsonDocument(QJsonObject{{"design", "single"}, {"reaches", 99}, {"inputs", inputs}})
            .toJson();
    QStringList arguments = {"-o", "out.txt"};
    for (int copy = 0; copy < 30; ++copy) {
        write(folder.filePath(QString("long%1.json").arg(copy)), design);
        arguments << QString("long%1.json").arg(copy);
    }
    QProcess calc;
    calc.setWorkingDirectory(folder.path());
    calc.start(QStringLiteral(QUORVEL_CALC), arguments);
    calc.setReadChannel(QProcess::StandardError);
    ASSERT_TRUE(calc.waitForStarted());
    QByteArray progress;
    while (!progress.contains(" points") && calc.waitForReadyRead(60000))
        progress += calc.readAllStandardError();
    ASSERT_TRUE(progress.startsWith("\rquorvel-calc: ")) << progress.toStdString();
    ::kill(pid_t(calc.processId()), SIGINT);
    ASSERT_TRUE(calc.waitForFinished(60000));
    EXPECT_EQ(calc.exitCode(), 130);
    EXPECT_TRUE(calc.readAllStandardError().contains(": Cancelled!\n"));
    EXPECT_FALSE(QFile::exists(folder.filePath("out.txt")));
}

TEST(CalculatorCommand, HelpNamesTheOptionsAndTheTransportModeThatIsNotStored)
{
    const CalcResult help = runCalc({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* text : {"--format", "--output", "--from-settings", "Sc*P", "130"})
        EXPECT_TRUE(help.out.contains(text)) << text;
    EXPECT_TRUE(QFile::exists(QStringLiteral(QUORVEL_SOURCE_DIR "/src/calc/quorvel-calc.1")));
}

// The README's commands, run as written in a folder holding the examples,
// under env -u DISPLAY.
TEST(CalculatorCommand, ReadmeCommandsRunAsWritten)
{
    QTemporaryDir folder;
    QDir().mkpath(folder.filePath("examples"));
    for (const DesignInfo& design : designs::all())
        QFile::copy(examplePath(design.name), folder.filePath("examples/" + design.name + ".json"));
    QStringList commands;
    static const QRegularExpression command("^    (quorvel-calc .*)$");
    for (const QString& line : written(QUORVEL_SOURCE_DIR "/README.md").split('\n')) {
        const QRegularExpressionMatch match = command.match(line);
        if (match.hasMatch())
            commands << match.captured(1);
    }
    ASSERT_GE(commands.size(), 4);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("PATH",
                       QFileInfo(QUORVEL_CALC).absolutePath() + ":" + environment.value("PATH"));
    for (const QString& line : commands) {
        QProcess shell;
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(folder.path());
        shell.start("env", {"-u", "DISPLAY", "bash", "-c", line});
        ASSERT_TRUE(shell.waitForFinished(60000));
        EXPECT_EQ(shell.exitCode(), 0) << line.toStdString() << "\n"
                                       << shell.readAllStandardError().toStdString();
    }
}

// Quiet for a second, then updated at most ten times a second; the last
// state always shown once the line is.
TEST(ProgressLine, ShowsProgressOnlyAfterASecondAndNotTooOften)
{
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    qint64 now = 0;
    {
        ProgressLine line(stream, [&now] { return now; });
        line.show("early", true);
        now = 1000;
        line.show("long text");
        now = 1050;
        line.show("skipped");
        line.show("last", true);
    }
    std::rewind(stream);
    char text[100] = {};
    const std::size_t size = std::fread(text, 1, sizeof text - 1, stream);
    std::fclose(stream);
    EXPECT_EQ(QByteArray(text, int(size)), "\rlong text\rlast     \n");
}
