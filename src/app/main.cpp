// The program's entry point: names the application for the settings store,
// builds the main window, shows the splash screen over it and runs the event
// loop. The program has no command-line options of its own.

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
    window->show();
    // Keep the splash above the window also where no window manager honours
    // its stay-on-top hint.
    splash->raise();
    return app.exec();
}
