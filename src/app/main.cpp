// The program's entry point: names the application for the settings store,
// builds the main window, shows the splash screen until the window is on
// screen and runs the event loop. The program has no command-line options of its own.

#include "app/Startup.h"

#include "app/QVWindow.h"

#include <QApplication>
#include <QSplashScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    quorvel::nameApplication();

    std::unique_ptr<QVWindow> window = quorvel::createMainWindow();
    std::unique_ptr<QSplashScreen> splash = quorvel::showSplash();
    quorvel::showMainWindow(*window, *splash);
    return app.exec();
}
