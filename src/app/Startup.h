#pragma once

#include <memory>

class QSplashScreen;

namespace ryn {
class RynMainWindow;
}

// The steps of the program's start that come before the event loop.
namespace quorvel {

// Names the organisation and the application; together they locate the
// per-user settings store.
void nameApplication();

// Builds the main window: the application frame, with the settings store
// attached and the window geometry of the last run restored.
std::unique_ptr<ryn::RynMainWindow> createMainWindow();

// Shows the splash screen with its start-up message; it closes itself after
// five seconds and stays above the main window until then.
std::unique_ptr<QSplashScreen> showSplash();

} // namespace quorvel
