#include "studies/sensitivity/window/SensitivityDialog.h"
#include "studies/sensitivity/window/BandDialog.h"

#include "AnsweringDialogs.h"
#include "FileContent.h"
#include "ScreenCheck.h"
#include "TestStore.h"
#include "plot/QVPlotWidget.h"
#include "plot/TornadoChart.h"
#include "studies/btps/BTPSSubWindow.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quorvel::test;

// The dialog analyses the design on opening, fills its table in the order
// of the answer, has the chart drawn, saves the table and refuses a bad
// spread in its message line.
TEST(SensitivityDialog, AnalysesOnOpeningAndSavesWhatItShows)
{
    TestStore store;
    storeBalloonTagExample(store);
    BTPSSubWindow window(store.get());
    auto* chart = new TornadoChart;
    SensitivityDialog dialog(&window, chart);
    QObject::connect(&dialog, &SensitivityDialog::analysed, chart, [&] {
        QStringList labels;
        QList<double> low;
        QList<double> high;
        for (const SensitivityEntry& entry : dialog.result().inputs) {
            labels << entry.key;
            low << entry.measureLow;
            high << entry.measureHigh;
        }
        chart->setBars(dialog.result().title(), "SE", labels, dialog.result().base, low, high);
    });
    QTRY_VERIFY_WITH_TIMEOUT(dialog.result().inputs.size() == 6, 10000);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    expectInsideTheScreen(&dialog);
    EXPECT_EQ(dialog.table()->rowCount(), 6);
    EXPECT_EQ(chart->barCount(), 6);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(dialog.table()->item(r, 0)->text(), dialog.result().inputs[r].key);
    EXPECT_EQ(dialog.table()->item(5, 0)->text(), "Pd");

    QTemporaryDir folder;
    QString error;
    ASSERT_TRUE(dialog.saveTo(folder.filePath("s.csv"), &error)) << error.toStdString();
    QFile saved(folder.filePath("s.csv"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()).count('\n'), 7);
    EXPECT_TRUE(dialog.saveTo(folder.filePath("s.png"), &error)) << error.toStdString();
    EXPECT_FALSE(dialog.saveTo(folder.filePath("s.doc"), &error));
    EXPECT_FALSE(dialog.saveTo(folder.filePath("no/such/s.csv"), &error));
    EXPECT_FALSE(QFile::exists(folder.filePath("s.doc")));

    // Save as proposes the design's name; a name without an extension gets
    // the chosen type's, one with another extension is written as the type
    // chosen.
    auto owned = std::make_unique<AnsweringDialogs>();
    AnsweringDialogs* answers = owned.get();
    dialog.setDialogs(std::move(owned));
    answers->saveFilter = "JSON (*.json)";
    answers->savePath = folder.filePath("guess");
    dialog.onSaveAs();
    EXPECT_EQ(answers->proposals.last(),
              QDir::homePath() + "/balloon-tag-passage-survival-estimate-sensitivity.csv");
    EXPECT_EQ(answers->startFilters.last(), "CSV table (*.csv)");
    EXPECT_TRUE(contentOf(folder.filePath("guess.json")).trimmed().startsWith("{"));
    answers->saveFilter = "Text (*.txt)";
    answers->savePath = folder.filePath("guess.dat");
    dialog.onSaveAs();
    EXPECT_TRUE(contentOf(answers->savePath).startsWith("Sensitivity of"));
    answers->pdfPath = folder.filePath("printed.pdf");
    dialog.onPrint();
    EXPECT_TRUE(contentOf(answers->pdfPath).startsWith("%PDF-"));

    // Closed while analysing, the dialog waits for its worker to stop.
    auto* closing = new SensitivityDialog(&window, new TornadoChart);
    closing->onAnalyse();
    EXPECT_TRUE(closing->isAnalysing());
    delete closing;

    dialog.spreadEdit()->setText("100");
    QTest::mouseClick(dialog.analyseButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.messageLabel()->text().contains("above 0 and below 100"));
    EXPECT_FALSE(dialog.isAnalysing());
}

// The band of the dialog is what the plot shades for the parameter it draws,
// and only while that parameter is shown.
TEST(BandDialog, ComputesTheBandThePlotShades)
{
    TestStore store;
    storeBalloonTagExample(store);
    store->setValue(QVSettingsKeys::BtpsRc, "1000:2000");
    BTPSSubWindow window(store.get());
    BandDialog dialog(window.design(), "T", window.title());
    QSignalSpy computed(&dialog, &BandDialog::computed);
    dialog.intervalsEdit()->setText("Pa=0.4");
    QTest::mouseClick(dialog.computeButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.messageLabel()->text().startsWith("Cannot read the interval"));
    dialog.intervalsEdit()->setText("Pa=0.4..0.6");
    QTest::mouseClick(dialog.computeButton(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(computed.count(), 1, 10000);
    const Band& band = dialog.band();
    ASSERT_EQ(band.rows.size(), window.design().inputs.numPoints());
    EXPECT_EQ(dialog.table()->rowCount(), band.rows.size());
    for (const BandRow& row : band.rows)
        EXPECT_LT(row.min.measure, row.max.measure);

    QVPlotWidget plot(store.get());
    Matrix table(2, 2);
    table(0, 0) = 1000;
    table(0, 1) = 0.001;
    table(1, 0) = 2000;
    table(1, 1) = 0.0005;
    plot.setData({"T"}, table, "Rc", "Balloon");
    plot.setBand("T", "band", {1000, 2000}, {0.01, 0.02}, {0.03, 0.04});
    EXPECT_TRUE(plot.showsBand());
    plot.setBand("S", "band", {1000, 2000}, {0.01, 0.02}, {0.03, 0.04});
    EXPECT_FALSE(plot.showsBand());
    QSignalSpy requested(&plot, &QVPlotWidget::bandsRequested);
    QTest::mouseClick(plot.bandsButton(), Qt::LeftButton);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][0].toString(), "T");
}
