#pragma once

#include <memory>

class QSplashScreen;
class QVWindow;

// The steps of the program's start that come before the event loop.
namespace quorvel {

// Names the organisation and the application; together they locate the
// per-user settings store.
void nameApplication();

// Builds the main window on the program's settings store; the window restores
// its geometry and reopens the designs of the last run itself. Stored values
// outside their settings' ranges are reset to their defaults first, each
// named in the Output window.
std::unique_ptr<QVWindow> createMainWindow();

// Shows the splash screen with its start-up message; it stays above the main
// window and closes itself after a second at most.
std::unique_ptr<QSplashScreen> showSplash();
// Shows the main window and closes the splash as soon as the window is on
// screen: a window that answers is not kept behind a picture.
void showMainWindow(QVWindow& window, QSplashScreen& splash);

} // namespace quorvel
