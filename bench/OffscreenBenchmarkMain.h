#pragma once

// The main of a benchmark program that builds widgets: the offscreen
// platform, the program's names for the settings store, and a private
// settings folder, so that a benchmark never reads or writes the user's
// settings.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

inline int runOffscreenBenchmarks(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    if (!settingsDir.isValid())
        return 2;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("RYN"));
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
