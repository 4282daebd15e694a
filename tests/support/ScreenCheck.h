#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quorvel::test {

// The window, frame included, lies inside the available area of the screen
// (the offscreen platform's is 800 × 600, smaller than a laptop's), its
// least size fits a 1366 × 768 screen less a title bar, and every button of
// it is shown whole inside it, scrolled into view or not.
inline void expectInsideTheScreen(QWidget* window)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(window->frameGeometry()))
        << window->windowTitle().toStdString() << ": " << window->frameGeometry().width() << "x"
        << window->frameGeometry().height() << " at " << window->frameGeometry().x() << ","
        << window->frameGeometry().y();
    EXPECT_LE(window->minimumSizeHint().width(), 1366);
    EXPECT_LE(window->minimumSizeHint().height(), 768 - 40);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window) || button->text().isEmpty())
            continue;
        // A button in a scrolling area may lie below its fold.
        bool scrolled = false;
        for (QWidget* up = button->parentWidget(); up && up != window; up = up->parentWidget())
            scrolled = scrolled || up->objectName() == QLatin1String("qt_scrollarea_viewport");
        if (scrolled)
            continue;
        const QRect shown(button->mapTo(window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(window->rect().contains(shown))
            << window->windowTitle().toStdString() << ": " << button->text().toStdString();
    }
}

} // namespace quorvel::test
