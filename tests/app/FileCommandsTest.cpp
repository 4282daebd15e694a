#include "app/FileCommands.h"
#include "app/QVWindow.h"

#include "FileContent.h"
#include "ModalBoxAnswerer.h"
#include "ReportDocument.h"
#include "TestStore.h"
#include "Tolerance.h"
#include "forms/dialogs/ReachNumDialog.h"
#include "forms/dialogs/RunModeDialogImpl.h"
#include "forms/range/RangeLineEdit.h"
#include "framework/navigation/NavPanelItem.h"
#include "plot/QVPlotWidget.h"
#include "studies/common/ReportFile.h"
#include "studies/common/StudySubWindow.h"
#include "studies/design/DesignFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTextTable>
#include <QXmlStreamReader>

#include <memory>

using namespace quorvel::test;
using Key = QVSettingsKeys;

namespace {

enum { SR = 1, PR = 2 };

// Answers the window's dialogs as a test sets them, noting what each was
// asked; the printer dialogs send the pages to a PDF file.
class ScriptedDialogs : public ryn::WindowDialogs
{
public:
    QString savePath;
    QString saveFilter;
    QString openPath;
    QString pdfPath;
    QStringList asked;
    // The filter each save dialog started on.
    QStringList startFilters;

    // The dialog stays on the filter it starts on unless the test chose one.
    QString saveFileName(QWidget*, const QString& caption, const QString& proposal,
                         const QStringList& filters, QString* chosenFilter) override
    {
        asked << caption + "|" + proposal;
        startFilters << *chosenFilter;
        EXPECT_TRUE(filters.contains(*chosenFilter)) << chosenFilter->toStdString();
        if (!saveFilter.isEmpty())
            *chosenFilter = saveFilter;
        return savePath;
    }
    QString openFileName(QWidget*, const QString& caption, const QString& folder,
                         const QString&) override
    {
        asked << caption + "|" + folder;
        return openPath;
    }
    bool acceptPrint(QPrinter* printer, QWidget*, const QString& title,
                     bool offerSelection) override
    {
        asked << title + (offerSelection ? "|selection" : "|all");
        toPdf(printer);
        return true;
    }
    void preview(QPrinter* printer, QWidget*, const std::function<void(QPrinter*)>& paint) override
    {
        asked << "preview";
        toPdf(printer);
        paint(printer);
    }

private:
    void toPdf(QPrinter* printer)
    {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
    }
};

// A main window on the test's store whose dialogs the test answers.
struct Fixture
{
    explicit Fixture(TestStore& store)
        : window(std::make_unique<QVWindow>(store.get()))
    {
        auto owned = std::make_unique<ScriptedDialogs>();
        dialogs = owned.get();
        window->fileCommands()->setDialogs(std::move(owned));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    StudySubWindow* open(int type)
    {
        window->studyItem(type)->trigger();
        return window->activeStudyWindow();
    }
    void run()
    {
        window->runAnalysisItem()->trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return window->pendingRunType() == 0; }, 30000));
    }
    void activate(int key)
    {
        window->mdiArea()->setActiveSubWindow(static_cast<QMdiSubWindow*>(window->subWindow(key)));
    }

    std::unique_ptr<QVWindow> window;
    ScriptedDialogs* dialogs;
};

// The single release of the window's tests: two reaches, R0 over a range
// giving points points.
void storeSingleRelease(TestStore& store, const QString& release)
{
    store->setValue(Key::SrNumReaches, 3);
    store->setValue(Key::SrR0, release);
    store->setValue(Key::SrLambda, "0.5");
    for (int k = 0; k < 2; ++k) {
        store->setArrayValue(Key::SrS, k, "0.8");
        store->setArrayValue(Key::SrP, k, "0.7");
        store->setArrayValue(Key::SrD, k, "0");
        store->setArrayValue(Key::SrR, k, "0");
    }
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The pages of a PDF as Qt writes it: one page object each.
int pageCount(const QByteArray& pdf)
{
    return pdf.count("/Type /Page\n");
}

} // namespace

TEST(FileCommands, SaveAsOfTheReportProposesTheDesignsNameAndWritesEveryFormatWhole)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    Fixture f(store);
    ModalBoxAnswerer answerer;
    f.open(SR);
    f.run();
    f.activate(QVWindow::TextOutputWindowId);
    const QString home = QDir::homePath();
    QTemporaryDir dir;
    const QString saved = dir.filePath("single.html");

    // The first proposal is the design's name as an HTML page in the home
    // folder; the next in the folder saved to while the file is there.
    f.dialogs->savePath = saved;
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Report|" + home + "/single.html");
    EXPECT_EQ(f.dialogs->startFilters.last(), "HTML (*.html *.htm)");
    EXPECT_EQ(store->stringValue(Key::TextOutLastDir), dir.path());
    const QByteArray html = contentOf(saved);
    EXPECT_TRUE(html.startsWith("<!DOCTYPE HTML"));
    EXPECT_TRUE(html.contains("charset=utf-8"));
    EXPECT_TRUE(html.endsWith("</html>\n"));
    QTextTable* results = tablesOf(*f.window->textOutput()->document()).last();
    for (const QString& cell : rowTexts(results, 1))
        EXPECT_TRUE(html.contains(">" + cell.toUtf8() + "<")) << cell.toStdString();
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Report|" + saved);
    QFile::remove(saved);
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Report|" + home + "/single.html");

    // The program's habit: HTML without a character set under an .rtf name.
    // The next dialog starts on the type chosen last, its name with that
    // type's extension.
    f.dialogs->saveFilter = "HTML as rich text (*.rtf)";
    f.dialogs->savePath = dir.filePath("habit");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    const QByteArray rich = contentOf(dir.filePath("habit.rtf"));
    EXPECT_TRUE(rich.startsWith("<!DOCTYPE HTML"));
    EXPECT_FALSE(rich.contains("charset"));
    EXPECT_TRUE(rich.endsWith("</html>\n"));
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Report|" + home + "/single.rtf");
    EXPECT_EQ(f.dialogs->startFilters.last(), "HTML as rich text (*.rtf)");

    // The other formats, by the dialog's filter.
    const struct
    {
        const char* filter;
        const char* name;
        QByteArray start;
        QByteArray holds;
    } formats[] = {{"HTML (*.html *.htm)", "r.html", "<!DOCTYPE HTML", "charset=utf-8"},
                   {"OpenDocument Text (*.odt)", "r.odt", "PK", "opendocument.text"},
                   {"PDF (*.pdf)", "r.pdf", "%PDF-", "/Type /Page"}};
    for (const auto& format : formats) {
        f.dialogs->saveFilter = format.filter;
        f.dialogs->savePath = dir.filePath(format.name);
        f.window->action(QVWindow::SaveAsAction)->trigger();
        const QByteArray content = contentOf(f.dialogs->savePath);
        EXPECT_TRUE(content.startsWith(format.start)) << format.name;
        EXPECT_TRUE(content.contains(format.holds)) << format.name;
    }
    // A name without an extension gets the chosen type's; a name with
    // another offered type's extension is written as that type.
    f.dialogs->saveFilter = "PDF (*.pdf)";
    f.dialogs->savePath = dir.filePath("typed");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_FALSE(QFile::exists(dir.filePath("typed")));
    EXPECT_TRUE(contentOf(dir.filePath("typed.pdf")).startsWith("%PDF-"));
    f.dialogs->savePath = dir.filePath("page.htm");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_TRUE(contentOf(f.dialogs->savePath).contains("charset=utf-8"));
    EXPECT_EQ(ReportFile::filters().first(), "HTML as rich text (*.rtf)");
    EXPECT_TRUE(answerer.seen.isEmpty());

    // A file that cannot be opened: the box, and no folder remembered.
    f.dialogs->saveFilter.clear();
    f.dialogs->savePath = dir.filePath("r.pdf/single.rtf");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(answerer.seen, QStringList{"Quorvel|Can't open \"" + f.dialogs->savePath +
                                         "\" for writing.|critical"});
    EXPECT_EQ(store->stringValue(Key::TextOutLastDir), dir.path());
    EXPECT_TRUE(contentOf(dir.filePath("r.pdf")).startsWith("%PDF-"));

    // Without an active design, Save as asks nothing.
    f.window->subWindow(SR)->close();
    f.activate(QVWindow::TextOutputWindowId);
    const int asked = f.dialogs->asked.size();
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.size(), asked);
}

TEST(FileCommands, SaveAsOfThePlotWritesTheStoredSizeOnWhiteAndNothingWhenItFails)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    Fixture f(store);
    ModalBoxAnswerer answerer;
    f.open(SR);
    f.run();
    f.activate(QVWindow::PlotWindowId);
    QTemporaryDir dir;

    f.dialogs->savePath = dir.filePath("single.png");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Graph|" + QDir::homePath() + "/single.png");
    EXPECT_EQ(f.dialogs->startFilters.last(), "PNG Images (*.png)");
    QImage image(f.dialogs->savePath);
    EXPECT_EQ(image.size(), QSize(600, 400));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(store->stringValue(Key::PlotOutLastDir), dir.path());
    // Sizes stored as text, as a settings file holds them.
    store->setValue(Key::PlotOutWidth, "800");
    store->setValue(Key::PlotOutHeight, "500");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Graph|" + f.dialogs->savePath);
    EXPECT_EQ(QImage(f.dialogs->savePath).size(), QSize(800, 500));

    // SVG: XML whose drawing holds both curves, in their colours.
    f.dialogs->saveFilter = "SVG Images (*.svg)";
    f.dialogs->savePath = dir.filePath("SR.svg");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    QXmlStreamReader svg(contentOf(f.dialogs->savePath));
    QStringList curveColours;
    QString groupStroke;
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (svg.name() == QLatin1String("svg")) {
            EXPECT_EQ(svg.attributes().value("viewBox"), QLatin1String("0 0 800 500"));
        } else if (svg.name() == QLatin1String("g")) {
            groupStroke = svg.attributes().value("stroke").toString();
        } else if (svg.name() == QLatin1String("polyline") &&
                   (groupStroke == "#0000ff" || groupStroke == "#ff0000")) {
            curveColours << groupStroke;
            EXPECT_EQ(svg.attributes().value("points").split(' ', Qt::SkipEmptyParts).size(), 100);
        }
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(curveColours, (QStringList{"#0000ff", "#ff0000"}));

    // PDF: one page.
    f.dialogs->saveFilter = "PDF (*.pdf)";
    f.dialogs->savePath = dir.filePath("SR.pdf");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(pageCount(contentOf(f.dialogs->savePath)), 1);
    // The chosen type's extension where the name has none; another offered
    // type's extension writes that type.
    f.dialogs->saveFilter = "PNG Images (*.png)";
    f.dialogs->savePath = dir.filePath("typed");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(QImage(dir.filePath("typed.png")).size(), QSize(800, 500));
    f.dialogs->savePath = dir.filePath("plot.svg");
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_TRUE(contentOf(f.dialogs->savePath).contains("<svg"));
    EXPECT_TRUE(answerer.seen.isEmpty());
    // The next dialog starts on the type written last.
    f.dialogs->saveFilter.clear();
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->startFilters.last(), "SVG Images (*.svg)");
    EXPECT_TRUE(f.dialogs->asked.last().endsWith("/single.svg"));

    // An image under a suffix of no image format: the box, no file left, an
    // existing one kept, no folder remembered.
    f.dialogs->saveFilter = "PNG Images (*.png)";
    QDir(dir.path()).mkdir("other");
    for (const QString name : {"other/plot.xyz", "other/kept.xyz"}) {
        if (name.endsWith("kept.xyz"))
            writeFile(dir.filePath(name), "kept");
        f.dialogs->savePath = dir.filePath(name);
        f.window->action(QVWindow::SaveAsAction)->trigger();
        EXPECT_EQ(answerer.seen.last(), "Quorvel|Can't write \"" + f.dialogs->savePath +
                                            "\": there is no image format for the file name's "
                                            "suffix \"xyz\".|critical");
    }
    EXPECT_EQ(answerer.seen.size(), 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("other/plot.xyz")));
    EXPECT_EQ(contentOf(dir.filePath("other/kept.xyz")), "kept");
    EXPECT_EQ(QDir(dir.filePath("other")).entryList(QDir::Files), QStringList{"kept.xyz"});
    EXPECT_EQ(store->stringValue(Key::PlotOutLastDir), dir.path());
}

TEST(FileCommands, PrintAndPreviewPutTheReportOnPagesAndThePlotOnOne)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    Fixture f(store);
    ModalBoxAnswerer answerer;
    f.open(SR);
    f.run();
    QTemporaryDir dir;
    f.dialogs->pdfPath = dir.filePath("printed.pdf");

    // A report of 100 points takes several pages; with a selection the dialog
    // offers to print it alone.
    f.activate(QVWindow::TextOutputWindowId);
    f.window->action(QVWindow::PrintAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Print Document|all");
    EXPECT_GT(pageCount(contentOf(f.dialogs->pdfPath)), 1);
    f.window->textOutput()->selectAll();
    f.window->action(QVWindow::PrintAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Print Document|selection");
    f.window->action(QVWindow::PrintPreviewAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "preview");
    EXPECT_GT(pageCount(contentOf(f.dialogs->pdfPath)), 1);

    f.activate(QVWindow::PlotWindowId);
    for (int action : {QVWindow::PrintAction, QVWindow::PrintPreviewAction}) {
        QFile::remove(f.dialogs->pdfPath);
        f.window->action(action)->trigger();
        EXPECT_EQ(pageCount(contentOf(f.dialogs->pdfPath)), 1);
    }
    EXPECT_EQ(f.dialogs->asked.mid(3), (QStringList{"Print Plot|all", "preview"}));
    EXPECT_TRUE(answerer.seen.isEmpty());

    // A printer that cannot print says so.
    f.dialogs->pdfPath = dir.filePath("missing/printed.pdf");
    f.window->action(QVWindow::PrintAction)->trigger();
    EXPECT_EQ(answerer.seen,
              QStringList{"Quorvel|The printer reported an error; nothing was printed.|critical"});
}

TEST(FileCommands, ExportResultsWritesTheNumbersOfTheReportOnceTheRunHasEnded)
{
    TestStore store;
    storeSingleRelease(store, "2000:2100");
    Fixture f(store);
    QStringList file;
    for (QAction* action : f.window->menu(QVWindow::FileMenu)->actions()) {
        if (action->isVisible())
            file << (action->isSeparator() ? QString("-") : action->text());
    }
    EXPECT_EQ(file,
              (QStringList{"Run analysis", "-", "Open design…", "Save design as…", "-", "Save as",
                           "Export results…", "Print preview", "Print", "-", "Exit"}));
    QAction* exportResults = f.window->fileCommands()->exportResultsAction();
    EXPECT_FALSE(exportResults->isEnabled());
    f.open(SR);
    EXPECT_FALSE(exportResults->isEnabled());
    f.run();
    EXPECT_TRUE(exportResults->isEnabled());
    f.open(PR);
    EXPECT_FALSE(exportResults->isEnabled());
    f.open(SR);
    ASSERT_TRUE(exportResults->isEnabled());

    QTemporaryDir dir;
    // A name typed without an extension is saved as CSV, under .csv.
    f.dialogs->savePath = dir.filePath("results");
    exportResults->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Export Results|" + QDir::homePath() + "/single.csv");
    EXPECT_EQ(store->stringValue(Key::LastDir), dir.path());
    EXPECT_FALSE(QFile::exists(f.dialogs->savePath));
    f.dialogs->savePath += ".csv";

    // Every standard error of the report, which rounds them, from the file's
    // full precision; the ranged value first.
    const QStringList lines = QString::fromUtf8(contentOf(f.dialogs->savePath)).split('\n');
    const QStringList header = lines[0].split(',');
    EXPECT_EQ(header[0], "R0");
    QTextTable* report = tableUnder(*f.window->textOutput()->document(), "Standard Errors:");
    ASSERT_TRUE(report);
    ASSERT_EQ(lines.size(), report->rows() + 1); // and an empty last line
    for (int row = 1; row < report->rows(); ++row) {
        const QStringList fields = lines[row].split(',');
        EXPECT_REL_NEAR(fields[0].toDouble(), cellText(report, row, 0).toDouble(), 1e-12);
        for (int column = 1; column < report->columns(); ++column) {
            const int se = header.indexOf(cellText(report, 0, column) + " SE");
            ASSERT_GT(se, 0) << cellText(report, 0, column).toStdString();
            EXPECT_REL_NEAR(fields[se].toDouble(), cellText(report, row, column).toDouble(), 1e-6);
        }
    }

    // A new run takes the old results away until its report is written.
    f.window->runAnalysisItem()->trigger();
    EXPECT_FALSE(exportResults->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&f] { return f.window->pendingRunType() == 0; }, 30000));
    EXPECT_TRUE(exportResults->isEnabled());
}

namespace {

// A single release beyond its defaults: four reaches, a capture probability
// shared with an earlier reach, a range and replicate options.
void storeReplicatedSingleRelease(TestStore& store)
{
    store->setValue(Key::SrNumReaches, 4);
    store->setValue(Key::SrR0, "1000:2000");
    const char* survival[] = {"0.85", "0.9", "0.8"};
    const char* capture[] = {"0.6", "0.7", "0.5"};
    for (int k = 0; k < 3; ++k) {
        store->setArrayValue(Key::SrS, k, survival[k]);
        store->setArrayValue(Key::SrP, k, capture[k]);
        store->setArrayValue(Key::SrD, k, "0.1");
        store->setArrayValue(Key::SrR, k, "0");
    }
    store->setValue(Key::SrLambda, "0.55");
    store->setArrayValue(Key::SrPi, 2, 1);
    store->setValue(Key::SrReplicatesEnabled, true);
    store->setValue(Key::SrReplicatesNum, 3);
    store->setValue(Key::SrReplicateNatVar, "0.0001");
    store->setValue(Key::SrReplicatesPar, "S1");
}

QByteArray designShown(QVWindow& window)
{
    return DesignFile::write(window.activeStudyWindow()->design());
}

} // namespace

TEST(FileCommands, ADesignSavedAndOpenedInAFreshWindowShowsTheSameFormAndReport)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("alternative.json");
    QByteArray saved;
    QString report;
    {
        TestStore store;
        storeReplicatedSingleRelease(store);
        Fixture f(store);
        f.open(SR);
        // A name typed without an extension gets .json, so that Open design
        // lists the file; the design's later files are proposed under its
        // name.
        f.dialogs->savePath = dir.filePath("alternative");
        f.window->fileCommands()->saveDesignAction()->trigger();
        EXPECT_EQ(f.dialogs->asked.last(), "Save Design|" + QDir::homePath() + "/single.json");
        EXPECT_FALSE(QFile::exists(f.dialogs->savePath));
        saved = designShown(*f.window);
        EXPECT_EQ(contentOf(path), saved);
        f.window->fileCommands()->saveDesignAction()->trigger();
        EXPECT_EQ(f.dialogs->asked.last(), "Save Design|" + dir.path() + "/alternative.json");
        f.run();
        report = f.window->textOutput()->toPlainText();
    }

    // The design's window already open with the dialogs pointed at it (a
    // stored input keeps its example out).
    TestStore store;
    store->setValue(QVSettingsKeys::SrR0, "500");
    Fixture f(store);
    f.open(SR);
    ASSERT_EQ(f.window->reachesDialog()->reachNumSpin->value(), 2);
    ASSERT_FALSE(f.window->replicatesDialog()->enableReplicatesCheckBox->isChecked());
    f.dialogs->openPath = path;
    f.window->fileCommands()->openDesignAction()->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Open Design|" + QDir::homePath());
    ASSERT_TRUE(f.window->activeStudyWindow());
    EXPECT_EQ(f.window->activeStudyWindow()->id(), SR);
    EXPECT_FALSE(f.window->subWindow(SR)->isHidden());
    EXPECT_EQ(designShown(*f.window), saved);
    // The dialogs show the design's reaches and options.
    EXPECT_EQ(f.window->reachesDialog()->reachNumSpin->value(), 4);
    RunModeDialogImpl* runMode = f.window->replicatesDialog();
    EXPECT_TRUE(runMode->enableReplicatesCheckBox->isChecked());
    EXPECT_EQ(runMode->numRunsSpin->value(), 3);
    EXPECT_EQ(runMode->varQEdit->text(), "0.0001");
    EXPECT_EQ(runMode->multiParCombo->currentText(), "S1");
    EXPECT_EQ(store->stringValue(Key::LastDir), dir.path());
    f.run();
    EXPECT_EQ(f.window->textOutput()->toPlainText(), report);
    // The report of the design opened carries the file's name.
    f.dialogs->savePath.clear();
    f.activate(QVWindow::TextOutputWindowId);
    f.window->action(QVWindow::SaveAsAction)->trigger();
    EXPECT_EQ(f.dialogs->asked.last(), "Save Report|" + dir.path() + "/alternative.html");
}

TEST(FileCommands, ADesignFileThatCannotBeReadIsNamedAndChangesNothing)
{
    TestStore store;
    storeReplicatedSingleRelease(store);
    Fixture f(store);
    ModalBoxAnswerer answerer;
    f.open(SR);
    const QByteArray shown = designShown(*f.window);
    QTemporaryDir dir;

    const struct
    {
        const char* name;
        QByteArray content;
        const char* problem;
    } files[] = {{"broken.json", "{\"design\": \"paired\",\n \"reaches\": 3,,}", "line 2"},
                 {"many.json", "{\"design\": \"paired\", \"reaches\": 1000}", "reaches"},
                 {"missing.json", QByteArray(), ""}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        f.dialogs->openPath = dir.filePath(file.name);
        if (!file.content.isEmpty())
            writeFile(f.dialogs->openPath, file.content);
        f.window->fileCommands()->openDesignAction()->trigger();
        ASSERT_FALSE(answerer.seen.isEmpty());
        EXPECT_TRUE(answerer.seen.last().startsWith("Quorvel|Can't open the design \"" +
                                                    f.dialogs->openPath + "\": "));
        EXPECT_TRUE(answerer.seen.last().contains(file.problem));
        EXPECT_TRUE(answerer.seen.last().endsWith("|critical"));
        EXPECT_EQ(f.window->subWindow(PR), nullptr);
        EXPECT_EQ(f.window->activeStudyWindow()->id(), SR);
        EXPECT_EQ(designShown(*f.window), shown);
    }
    EXPECT_EQ(answerer.seen.size(), 3);
    EXPECT_TRUE(store->stringValue(Key::LastDir).isEmpty());

    // A design that cannot be saved is named too.
    f.dialogs->savePath = dir.filePath("broken.json/SR.json");
    f.window->fileCommands()->saveDesignAction()->trigger();
    EXPECT_TRUE(answerer.seen.last().startsWith("Quorvel|Can't save the design in \"" +
                                                f.dialogs->savePath + "\": "));
}
