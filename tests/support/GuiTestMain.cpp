// main() of the test executables that drive widgets. It creates the
// QApplication on the offscreen platform and points every settings store at a
// temporary directory, so no test can touch the real user's settings.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir settingsDir;
    if (!settingsDir.isValid())
        return 2;
    for (auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settingsDir.path());
        QSettings::setPath(format, QSettings::SystemScope, settingsDir.path() + "/system");
    }

#if defined(__SANITIZE_ADDRESS__)
    // The offscreen platform of Qt 5.15 never frees the screen and cursor it
    // creates here; they are not the program's leaks.
    __lsan_disable();
#endif
    QApplication app(argc, argv);
#if defined(__SANITIZE_ADDRESS__)
    __lsan_enable();
#endif
    QApplication::setOrganizationName(QStringLiteral("RYN"));
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    return RUN_ALL_TESTS();
}
