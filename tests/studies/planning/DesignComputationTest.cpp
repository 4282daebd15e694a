#include "studies/planning/DesignComputation.h"

#include "studies/design/DesignFile.h"

#include "RecordingMonitor.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>

namespace {

// The example design file of a design, with each key's text replaced.
Design example(const QString& name, const QList<QPair<QByteArray, QByteArray>>& texts)
{
    QFile file(QStringLiteral(QUORVEL_SOURCE_DIR "/examples/") + name + ".json");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray json = file.readAll();
    for (const auto& [key, text] : texts) {
        const QByteArray opening = "\"" + key + "\": ";
        const int at = json.indexOf(opening) + opening.size();
        int end = at + 1;
        if (json.at(at) == '"')
            end = json.indexOf('"', at + 1) + 1;
        else
            while (end < json.size() && !QByteArray(",\n}").contains(json.at(end)))
                ++end;
        json.replace(at, end - at, text);
    }
    Design design;
    QString error;
    EXPECT_TRUE(DesignFile::read(json, &design, &error)) << error.toStdString();
    return design;
}

DesignComputation::Outcome run(const Design& design, QString* message)
{
    quorvel::test::RecordingMonitor monitor;
    return DesignComputation::of(design)->run(monitor, message);
}

} // namespace

// Inputs under which a design's variance would be 0 or not finite are refused
// before any computation, naming the input and the rule.
TEST(DesignComputation, DegenerateInputsAreRefusedNamingTheInputAndTheRule)
{
    const QByteArray tiny = "\"0." + QByteArray(323, '0') + "5\"";
    const QByteArray huge = "\"1" + QByteArray(400, '0') + "\"";
    const QList<QPair<QByteArray, QByteArray>> replicates = {
        {"replicatesEnabled", "true"}, {"replicates", "10"}, {"replicateParameter", "\"S1\""}};
    const struct
    {
        Design design;
        QString message;
    } cases[] = {
        {example("btps", {{"St", "\"0\""}}), "St must lie in (0, 1]"},
        {example("btps", {{"useSt", "false"}, {"T", "\"0\""}}), "T must lie in (0, 1]"},
        {example("btps", {{"Pa", tiny}}),
         "Pa must be large enough for the variance of T to be finite"},
        {example("btps", {{"Sc", tiny}}),
         "Sc must be large enough for the variance of T to be finite"},
        {example("btps", {{"Sc", "\"1\""}, {"St", "\"1\""}, {"Pa", "\"1\""}}),
         "Pa must be below 1 while Sc and St are 1"},
        {example("tirr", {{"useTheta", "false"}, {"Sc", "\"1\""}, {"P", "\"1\""}, {"T", "\"1\""}}),
         "T must be below 1 while Sc and P are 1"},
        {example("tirr", {{"Sc*P", "\"1\""}, {"T", "\"1\""}}), "T must be below 1 while Sc*P is 1"},
        {example("single",
                 replicates + QList<QPair<QByteArray, QByteArray>>{{"naturalVariance", huge}}),
         "Natural variability must be a finite number of at least 0"},
        {example("single", {{"replicatesEnabled", "true"},
                            {"replicates", "10"},
                            {"replicateParameter", "\"Bogus\""}}),
         "Replicate parameter must be one of S1, S2, S3, P1, P2, P3, Final: \"Bogus\" is not"},
        {example("paired", {{"replicatesEnabled", "true"},
                            {"replicates", "10"},
                            {"replicateParameter", "\"S3\""}}),
         "Replicate parameter must be one of Sc, St, Sc2, St2, Pc1, Pt1, Pc2, Pt2, FinalC, "
         "FinalT: \"S3\" is not"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        QString message;
        EXPECT_EQ(run(c.design, &message), DesignComputation::Refused);
        EXPECT_EQ(message, c.message);
    }

    // Natural variances of -5 and nan reach a design only through the stored
    // settings, which keep any text.
    for (const QString& variance : {QStringLiteral("-5"), QStringLiteral("nan")}) {
        Design design = example("single", replicates);
        design.options.naturalVariance = variance;
        QString message;
        EXPECT_EQ(run(design, &message), DesignComputation::Refused);
        EXPECT_EQ(message, "Natural variability must be a finite number of at least 0");
    }
}

// The x of every output is the value the point was computed with: an
// integer range's points truncated (500:50000 has the point 1510.2040...).
TEST(DesignComputation, IntegerRangesGiveTheTruncatedValuesComputed)
{
    for (const auto& [name, key] : {std::pair{"single", "R0"}, std::pair{"btps", "Rc"},
                                    std::pair{"vwp", "V1"}, std::pair{"paired", "RT"}}) {
        SCOPED_TRACE(name);
        const auto computation = DesignComputation::of(example(name, {{key, "\"500:50000\""}}));
        quorvel::test::RecordingMonitor monitor;
        QString message;
        ASSERT_EQ(computation->run(monitor, &message), DesignComputation::Computed)
            << message.toStdString();
        const PrecisionTable table = computation->precisionTable();
        const RangeArithmetic range = computation->design().inputs.range();
        ASSERT_EQ(table.pointCount(), range.numPoints());
        EXPECT_EQ(table.x[1], 1510.0);
        for (int i = 0; i < table.pointCount(); ++i)
            EXPECT_EQ(table.x[i], std::trunc(range.pointAt(i)));
        EXPECT_EQ(table.plotData()(1, 0), 1510.0);
    }
}
