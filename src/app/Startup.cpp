#include "app/Startup.h"

#include "app/QVSettings.h"
#include "app/QVWindow.h"
#include "resources/QuorvelResources.h"

#include <QApplication>
#include <QBitmap>
#include <QIcon>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

namespace quorvel {

namespace {

// The longest the splash stays should the main window never be shown.
const int splashMilliseconds = 1000;

} // namespace

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("RYN"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("ryn.invalid"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
}

std::unique_ptr<QVWindow> createMainWindow()
{
    initResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/Quorvel.png")));
    // A stored value no setting accepts would read as its default anyway;
    // replaced before the window reads them, and told where the user sees it.
    const QStringList reset = QVSettings::instance()->resetRefusedValues();
    auto window = std::make_unique<QVWindow>(QVSettings::instance());
    for (const QString& key : reset)
        window->warn(QObject::tr("The stored setting %1 held a value outside its range and is "
                                 "reset to its default.")
                         .arg(key));
    return window;
}

std::unique_ptr<QSplashScreen> showSplash()
{
    initResources();
    const QPixmap pixmap(QStringLiteral(":/images/splash_screen.png"));
    auto splash = std::make_unique<QSplashScreen>(pixmap, Qt::WindowStaysOnTopHint);
    // The card has rounded corners: cut the window to the picture's shape.
    const QBitmap mask = pixmap.mask();
    if (!mask.isNull())
        splash->setMask(mask);
    splash->showMessage(QObject::tr("Initializing..."), Qt::AlignRight | Qt::AlignBottom,
                        Qt::white);
    splash->show();
    QTimer::singleShot(splashMilliseconds, splash.get(), &QWidget::close);
    return splash;
}

void showMainWindow(QVWindow& window, QSplashScreen& splash)
{
    window.show();
    // Above the window also where no window manager honours its stay-on-top
    // hint, until the window is on screen.
    splash.raise();
    splash.finish(&window);
}

} // namespace quorvel
