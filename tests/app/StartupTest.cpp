#include "app/Startup.h"
#include "app/QVSettings.h"
#include "app/QVWindow.h"

#include "HostileSettings.h"
#include "framework/navigation/NavPanelItem.h"
#include "framework/window/OutputDockWidget.h"
#include "studies/common/StudySubWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QSettings>
#include <QSplashScreen>
#include <QTest>
#include <QTextEdit>

TEST(Startup, NamesTheApplicationForTheSettingsStore)
{
    QCoreApplication::setOrganizationName("other");
    QCoreApplication::setApplicationName("other");
    quorvel::nameApplication();
    EXPECT_EQ(QCoreApplication::organizationName(), "RYN");
    EXPECT_EQ(QCoreApplication::applicationName(), "Quorvel");
    EXPECT_FALSE(QCoreApplication::organizationDomain().isEmpty());
}

// Quitting with two designs open and starting again: the window comes back
// at its size with both designs, the later one active.
TEST(Startup, MainWindowReopensWithTheGeometryAndDesignsOfTheLastClose)
{
    QSettings().clear();
    {
        std::unique_ptr<QVWindow> window = quorvel::createMainWindow();
        EXPECT_EQ(window->windowTitle(), "Quorvel");
        // A first start takes most of the screen, within it.
        const QSize screen = QGuiApplication::primaryScreen()->availableSize();
        EXPECT_TRUE(screen.expandedTo(window->size()) == screen);
        EXPECT_GE(window->width(), screen.width() * 3 / 4);
        EXPECT_FALSE(QApplication::windowIcon().isNull());
        EXPECT_FALSE(window->hasActiveStudy());
        window->resize(1100, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->studyItem(StudySubWindow::BTPSStudy)->trigger();
        window->studyItem(StudySubWindow::PairedReleaseStudy)->trigger();
        EXPECT_TRUE(window->close());
    }
    EXPECT_TRUE(QVSettings::instance()->value(QVSettings::WindowGeom).isValid());

    std::unique_ptr<QVWindow> next = quorvel::createMainWindow();
    EXPECT_EQ(next->size(), QSize(1100, 800));
    for (int type : {1, 2, 4, 8, 16}) {
        StudySubWindow* design = next->studyWindow(type);
        EXPECT_EQ(!design->isHidden(), type == 2 || type == 8) << type;
    }
    EXPECT_EQ(next->activeStudyWindow()->id(), StudySubWindow::BTPSStudy);
}

TEST(Startup, SplashShowsItsMessageAboveTheWindowAndGoesWhenTheWindowIsShown)
{
    std::unique_ptr<QSplashScreen> splash = quorvel::showSplash();
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->message(), "Initializing...");
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    ASSERT_FALSE(splash->pixmap().isNull());
    // The rounded card: its corner lies outside the window's shape.
    EXPECT_FALSE(splash->mask().isEmpty());
    EXPECT_FALSE(splash->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(splash->mask().contains(splash->rect().center()));
    // Left alone, it goes within a second.
    QElapsedTimer shown;
    shown.start();
    EXPECT_TRUE(QTest::qWaitFor([&splash] { return !splash->isVisible(); }, 3000));
    EXPECT_LE(shown.elapsed(), 1500);

    std::unique_ptr<QVWindow> window = quorvel::createMainWindow();
    splash = quorvel::showSplash();
    quorvel::showMainWindow(*window, *splash);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(splash->isVisible());
}

// A settings file in which every key holds a value its setting refuses: the
// window starts, names every key it reset in the Output window, and opens
// every design on the defaults.
TEST(Startup, StoredValuesOutsideTheirRangesAreResetAndNamed)
{
    const QStringList hostile = quorvel::test::storeHostileSettings();
    std::unique_ptr<QVWindow> window = quorvel::createMainWindow();
    const QString log = window->outputDock()->textEdit()->toPlainText();
    for (const QString& key : hostile)
        EXPECT_TRUE(log.contains("The stored setting " + key + " held a value outside its range"))
            << key.toStdString();
    EXPECT_TRUE(QVSettings::instance()->refusedValues().isEmpty());
    EXPECT_EQ(QSettings().value("precision_est").toInt(), 3);
    EXPECT_EQ(QSettings().value("plot_out_width").toInt(), 600);
    EXPECT_EQ(QSettings().value("sr_num_reaches").toInt(), 2);
    EXPECT_FALSE(QSettings().contains("pr_num_reaches"));
    EXPECT_FALSE(QSettings().contains("pr_si/5"));
    for (int type : {1, 2, 4, 8, 16}) {
        window->studyItem(type)->trigger();
        EXPECT_EQ(window->activeStudyWindow()->id(), type);
    }
}
