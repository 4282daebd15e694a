#include "CalcTestSupport.h"

#include "FileContent.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <iterator>

using namespace quorvel::test;

namespace {

// The text of a PDF as poppler's pdftotext reads it from the page.
QString pdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    // The page's ligatures ("ff" in a path) read back as their letters.
    return QString::fromUtf8(process.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

QMap<QString, int> wordCounts(const QString& text)
{
    QMap<QString, int> counts;
    for (const QString& word :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        ++counts[word];
    return counts;
}

// A single release of 99 reaches, the last one the final: 98 reach panels,
// every one with its own survival and detection, one removing fish, and the
// release size over a short range.
QByteArray widestSingleRelease()
{
    QJsonObject inputs{{"R0", "1000:1010"}, {"Lambda", "0.9"}};
    for (int k = 1; k <= 98; ++k) {
        inputs[QStringLiteral("S%1").arg(k)] = QString::number(0.9 + 0.0005 * k);
        inputs[QStringLiteral("P%1").arg(k)] = QString::number(0.6 + 0.003 * k);
        inputs[QStringLiteral("D%1").arg(k)] = k == 5 ? "0.1" : "0";
        inputs[QStringLiteral("R%1").arg(k)] = "0";
    }
    return QJsonDocument(QJsonObject{{"design", "single"}, {"reaches", 99}, {"inputs", inputs}})
        .toJson();
}

} // namespace

// The PDF is the report the window shows, every table cut into blocks of
// columns that fit the page: every word of the report's text (every column
// head and every value, the half-widths' tables too) is on its pages at least
// as often as in the text.
// Uncut, a block wider than the page loses its right-hand columns.
TEST(ReportFileCommand, APdfOfNinetyNineReachesKeepsEveryColumnOnItsPages)
{
    QTemporaryDir folder;
    QFile design(folder.filePath("wide.json"));
    ASSERT_TRUE(design.open(QIODevice::WriteOnly));
    design.write(widestSingleRelease());
    design.close();

    const CalcResult pdf = runCalc({"-f", "pdf", "-o", "wide.pdf", "wide.json"}, folder.path());
    ASSERT_EQ(pdf.status, 0) << pdf.err.toStdString();
    EXPECT_TRUE(contentOf(folder.filePath("wide.pdf")).startsWith("%PDF-"));
    const QString pages = pdfText(folder.filePath("wide.pdf"));
    ASSERT_FALSE(pages.isEmpty()) << "pdftotext (poppler-utils) read nothing";
    const QString text = runCalc({"wide.json"}, folder.path()).out;
    ASSERT_TRUE(text.contains("S98") && text.contains("Proportions removed:") &&
                text.contains("Half-widths of the 90% confidence intervals:") &&
                text.contains("Half-widths of the 95% confidence intervals:"))
        << text.toStdString();

    const QMap<QString, int> onPages = wordCounts(pages);
    QMap<QString, int> inReport = wordCounts(text);
    // The text's rules under its head rows are drawn lines on the pages.
    for (auto it = inReport.begin(); it != inReport.end();)
        it = it.key().count('-') == it.key().size() ? inReport.erase(it) : std::next(it);
    int missing = 0;
    for (auto it = inReport.cbegin(); it != inReport.cend(); ++it) {
        if (onPages.value(it.key()) < it.value() && ++missing <= 10)
            ADD_FAILURE() << it.key().toStdString() << ": " << onPages.value(it.key())
                          << " times on the pages, " << it.value() << " in the report";
    }
    EXPECT_EQ(missing, 0);
}

// HTML and OpenDocument are the window's files too; several designs in one
// PDF each begin a page; a check by simulation is not a report file.
TEST(ReportFileCommand, HtmlOdtAndPdfOfEachDesignAndRefusedWithASimulation)
{
    QTemporaryDir folder;
    const CalcResult html = runCalc({"-f", "html", examplePath("btps")});
    ASSERT_EQ(html.status, 0) << html.err.toStdString();
    EXPECT_TRUE(html.out.startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(html.out.contains("charset=utf-8"));
    EXPECT_TRUE(html.out.contains("Balloon-Tag Passage Survival Estimate Results"));
    EXPECT_TRUE(html.out.contains("<table"));

    const CalcResult odt = runCalc(
        {"-f", "odt", "-o", folder.path(), examplePath("tirr"), examplePath("vwp")}, folder.path());
    ASSERT_EQ(odt.status, 0) << odt.err.toStdString();
    for (const char* name : {"tirr.odt", "vwp.odt"}) {
        const QByteArray content = contentOf(folder.filePath(name));
        EXPECT_TRUE(content.startsWith("PK")) << name;
        EXPECT_TRUE(content.contains("opendocument.text")) << name;
    }

    const CalcResult both = runCalc(
        {"-f", "pdf", "-o", "both.pdf", examplePath("single"), examplePath("vwp")}, folder.path());
    ASSERT_EQ(both.status, 0) << both.err.toStdString();
    const QString pages = pdfText(folder.filePath("both.pdf"));
    const int vwpHead = pages.indexOf(examplePath("vwp"));
    ASSERT_GT(vwpHead, 0);
    EXPECT_EQ(pages.at(vwpHead - 1), QChar('\f')) << "the second report begins a page";
    EXPECT_TRUE(pages.contains("Virtual with a Paired Release Results"));

    const CalcResult simulated = runCalc({"-f", "pdf", "--simulate", "10", examplePath("btps")});
    EXPECT_EQ(simulated.status, 2);
    EXPECT_TRUE(simulated.err.contains("--simulate writes text, csv or json"));
}

// --compare writes its table in every report format, as the comparison
// window saves it, and never over one of its design files.
TEST(ReportFileCommand, CompareWritesItsTableAsAReportFile)
{
    QTemporaryDir folder;
    const QStringList compare = {"--compare", "--target", "hw95=0.05",
                                 examplePath("paired") + ":St", examplePath("btps") + ":T"};
    const CalcResult html = runCalc(compare + QStringList{"-f", "html"});
    ASSERT_EQ(html.status, 0) << html.err.toStdString();
    EXPECT_TRUE(html.out.startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(html.out.contains("<table"));

    ASSERT_EQ(runCalc(compare + QStringList{"-f", "odt", "-o", "c.odt"}, folder.path()).status, 0);
    EXPECT_TRUE(contentOf(folder.filePath("c.odt")).contains("opendocument.text"));
    ASSERT_EQ(runCalc(compare + QStringList{"-f", "pdf", "-o", "c.pdf"}, folder.path()).status, 0);
    const QString pages = pdfText(folder.filePath("c.pdf"));
    for (const char* part :
         {"Comparison of Designs", "Paired Release", "Balloon-Tag Passage Survival Estimate"})
        EXPECT_TRUE(pages.contains(part)) << part;

    ASSERT_TRUE(QFile::copy(examplePath("btps"), folder.filePath("btps.json")));
    const CalcResult replacing =
        runCalc({"--compare", "--budget", "3000", "-f", "pdf", "-o", "btps.json", "btps.json:T",
                 examplePath("paired") + ":St"},
                folder.path());
    EXPECT_EQ(replacing.status, 2);
    EXPECT_TRUE(replacing.err.contains("would replace the design file"));
    EXPECT_EQ(contentOf(folder.filePath("btps.json")), exampleText("btps"));
}
