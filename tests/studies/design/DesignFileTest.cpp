#include "studies/design/DesignFile.h"

#include "forms/core/ReleaseRecaptureInputs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Texts in failure messages.
void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

using ReleaseRecaptureInputs::captureOwner;
using ReleaseRecaptureInputs::survivalOwner;

namespace {

Design readText(const QByteArray& text)
{
    Design design;
    QString error;
    EXPECT_TRUE(DesignFile::read(text, &design, &error)) << error.toStdString();
    return design;
}

QString refusal(const QByteArray& text)
{
    Design design;
    design.inputs.reaches = -7;
    QString error;
    EXPECT_FALSE(DesignFile::read(text, &design, &error)) << text.toStdString();
    EXPECT_EQ(design.inputs.reaches, -7) << "a refused file changed the design";
    return error;
}

const QByteArray btpsInputs =
    R"("inputs": {"Rc": "1000", "Rt": "1000", "Sc": "0.8", "St": "0.72", "Pa": "0.5", "Pd": "0.3"})";

QByteArray btps(const QByteArray& entries)
{
    return R"({"design": "btps", )" + entries + "}";
}

} // namespace

TEST(DesignFile, ExampleFilesReadAndWriteBackByteForByte)
{
    const QDir examples(QStringLiteral(QUORVEL_EXAMPLES_DIR));
    const QStringList files = examples.entryList({QStringLiteral("*.json")});
    ASSERT_EQ(files.size(), 5);
    for (const QString& name : files) {
        QFile file(examples.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_EQ(DesignFile::write(readText(text)), text) << name.toStdString();
    }
}

TEST(DesignFile, ReadsSharingSwitchesRangesNumbersAndOptionsAsTheFormWouldShowThem)
{
    const Design single = readText(R"({"design": "single", "reaches": 3,
        "shared": {"S2": "S1", "P2": "P2"},
        "inputs": {"R0": 1000, "S1": "0.5:0.9", "P1": "0.8", "D1": "0", "R1": "0",
                   "P2": "0.7", "D2": "0.1", "R2": "0", "Lambda": 0.6},
        "options": {"replicatesEnabled": true, "replicates": 4, "naturalVariance": 0.001,
                    "replicateParameter": "S1", "totalSurvival": true}})");
    EXPECT_EQ(single.kind, Design::SingleRelease);
    EXPECT_EQ(single.inputs.reaches, 3);
    EXPECT_EQ(single.inputs.choices.value(survivalOwner), (QVector<int>{0, 0}));
    EXPECT_EQ(single.inputs.choices.value(captureOwner), (QVector<int>{0, 1}));
    EXPECT_FALSE(single.inputs.field("S2").enabled);
    EXPECT_EQ(single.inputs.rangeHolder(), "S1");
    EXPECT_EQ(single.inputs.numPoints(), 100);
    EXPECT_EQ(single.inputs.field("R0").text, "1000");
    EXPECT_EQ(single.inputs.field("Lambda").text, "0.6");
    EXPECT_TRUE(single.options.replicatesEnabled);
    EXPECT_EQ(single.options.replicateCount, 4);
    EXPECT_EQ(single.options.naturalVariance, "0.001");
    EXPECT_EQ(single.options.replicateParameter, "S1");
    EXPECT_TRUE(single.options.totalSurvival);

    // Rt follows Rc and may show its range; T given, St left out.
    const Design linked = readText(btps(R"("switches": {"linkReleases": true, "useSt": false},
        "inputs": {"Rc": "100:1000", "Rt": "100:1000", "Sc": "0.8", "T": "0.9", "Pa": "0.5",
                   "Pd": "0.3"})"));
    EXPECT_EQ(linked.inputs.rangeName(), "Rc-Rt");
    EXPECT_FALSE(linked.inputs.field("Rt").enabled);
    EXPECT_FALSE(linked.inputs.field("St").enabled);
    EXPECT_EQ(linked.options.precisionErr, 8);
}

TEST(DesignFile, RefusesAFileAtItsFirstProblemWithOneMessage)
{
    EXPECT_EQ(refusal("{\n  \"design\": \"btps\"\n  \"inputs\": {}\n}").left(32),
              "Invalid JSON at line 3, column 4");
    // Columns count characters, not bytes: the x is the 7th character of
    // line 2, its 8th byte.
    EXPECT_EQ(refusal("{\"\u00e9\":\n \"\u00fc\"} x"),
              "Invalid JSON at line 2, column 7: garbage at the end of the document");
    EXPECT_EQ(refusal("[]"), "A design file holds one JSON object");
    // A reader would keep the last of two keys of one object: the second
    // design, or the second value of an input, escaped or not.
    EXPECT_EQ(refusal("{\"design\": \"btps\",\n \"design\": \"tirr\"}"),
              "Duplicate key \"design\" at line 2, column 2: a key may be given only once");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": "1000", "R\u0063": "9", "Rt": "1000"})")),
              "Duplicate key \"Rc\" at line 1, column 45: a key may be given only once");
    // A key may repeat in another object, and inside a string.
    EXPECT_EQ(refusal(btps(R"("switches": {"useSt": true}, "inputs": {"useSt": "\"useSt\""})")),
              "Unknown parameter \"useSt\" in a btps design");
    EXPECT_EQ(refusal("{}"), "Missing entry \"design\", one of single, paired, tirr, btps and vwp");
    EXPECT_EQ(refusal(R"({"design": "spawning"})"),
              "Unknown design \"spawning\": the designs are single, paired, tirr, btps and vwp");
    EXPECT_EQ(refusal(btps(R"("reaches": 3, )" + btpsInputs)),
              "Unknown entry \"reaches\" in a btps design; it has design, switches, inputs and "
              "options");
    EXPECT_EQ(refusal(R"({"design": "paired", "reaches": 100, "inputs": {}})"),
              "\"reaches\" must be a whole number from 1 to 99");
    EXPECT_EQ(refusal(R"({"design": "single", "reaches": 2.5, "inputs": {}})"),
              "\"reaches\" must be a whole number from 2 to 99");
    EXPECT_EQ(refusal(btps(R"("switches": {"useTheta": true}, )" + btpsInputs)),
              "Unknown switch \"useTheta\" in the switches of a btps design; it has linkReleases "
              "and useSt");
    EXPECT_EQ(refusal(btps(R"("switches": {"useSt": "yes"}, )" + btpsInputs)),
              "\"useSt\" must be true or false");
    EXPECT_EQ(refusal(R"({"design": "single", "reaches": 3, "shared": {"S2": "P1"}})"),
              "\"S2\" can share only S1 and S2");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": "1000", "R": "5"})")),
              "Unknown parameter \"R\" in a btps design");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": "-5"})")),
              "\"Rc\" must be a number, or a text of digits and \".\" with one \":\" for a range");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": [1000]})")),
              "\"Rc\" must be a number, or a text of digits and \".\" with one \":\" for a range");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": "1:2:3"})")), "Range already set for Rc");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": "1000", "Rt": "1000", "Sc": "0.8"})")),
              "Missing input for \"St\"");
    EXPECT_EQ(refusal(btps(R"("inputs": {"Rc": "100:1000", "Rt": "1000", "Sc": "0.5:0.9",
        "St": "0.72", "Pa": "0.5", "Pd": "0.3"})")),
              "Range already set for Rc: \"Sc\" cannot hold a second range");
    EXPECT_EQ(refusal(btps(btpsInputs + R"(, "options": {"replicates": 4})")),
              "Unknown option \"replicates\" in the options of a btps design; it has precisionEst, "
              "precisionErr, nullValues, nullValue, alpha and sided");
    EXPECT_EQ(refusal(btps(btpsInputs + R"(, "options": {"precisionErr": 1e300})")),
              "\"precisionErr\" must be a whole number from 0 to 17");
}

TEST(DesignFile, WritesThroughATemporaryFileAndReadsBackWhatItWrote)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("design.json");
    const Design design = readText(btps(btpsInputs));
    QString error;
    ASSERT_TRUE(DesignFile::writeFile(path, design, &error)) << error.toStdString();
    Design back;
    ASSERT_TRUE(DesignFile::readFile(path, &back, &error)) << error.toStdString();
    EXPECT_EQ(DesignFile::write(back), DesignFile::write(design));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"design.json"});

    EXPECT_FALSE(DesignFile::readFile(folder.filePath("none.json"), &back, &error));
    EXPECT_TRUE(error.startsWith("Cannot read the file: ")) << error.toStdString();
    EXPECT_FALSE(DesignFile::writeFile(folder.filePath("no/such/folder.json"), design, &error));
    EXPECT_TRUE(error.startsWith("Cannot write the file: ")) << error.toStdString();

    // A test that could not be read is refused, not written as the defaults.
    Design untestable = design;
    untestable.options.effect.unreadable = "Cannot read the null value \"St=abc\"";
    EXPECT_FALSE(DesignFile::writeFile(folder.filePath("untestable.json"), untestable, &error));
    EXPECT_EQ(error,
              "The test of the effect cannot be saved: Cannot read the null value \"St=abc\"");
    EXPECT_FALSE(QFile::exists(folder.filePath("untestable.json")));
}

// The test of a design's power is kept among its options: read, written back
// the same, left out while it is the default, and refused when it is not one.
TEST(DesignFile, KeepsTheTestOfPowerAmongTheOptions)
{
    const Design design = readText(btps(
        btpsInputs +
        R"(, "options": {"nullValues": {"T": 0.95}, "nullValue": 0.9, "alpha": 0.1, "sided": "one"})"));
    const EffectTest& test = design.options.effect;
    EXPECT_EQ(test.nullValueOf("T"), 0.95);
    EXPECT_EQ(test.nullValueOf("S1"), 0.9);
    EXPECT_EQ(test.alpha, 0.1);
    EXPECT_FALSE(test.twoSided);
    EXPECT_EQ(readText(DesignFile::write(design)).options.effect, test);
    EXPECT_FALSE(DesignFile::write(readText(btps(btpsInputs))).contains("alpha"));

    EXPECT_TRUE(refusal(btps(btpsInputs + R"(, "options": {"alpha": 1})")).contains("\"alpha\""));
    EXPECT_TRUE(
        refusal(btps(btpsInputs + R"(, "options": {"sided": "both"})")).contains("\"sided\""));
    EXPECT_TRUE(
        refusal(btps(btpsInputs + R"(, "options": {"nullValues": {"T": "x"}})")).contains("\"T\""));
}
