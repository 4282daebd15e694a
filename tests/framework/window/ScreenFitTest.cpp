#include "framework/window/ScreenFit.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QVBoxLayout>

using namespace ryn::screenfit;

// On a laptop's 1366 × 768 screen with a panel of 32 pixels, the sizes the
// dialogs ask for (1100 × 940 for a comparison, 980 × 840 for a simulation)
// are cut to the room left by the frame; a minimum wins over a wish, not
// over the screen; what fits stays as asked.
TEST(ScreenFit, SizesAreBoundedToTheAvailableAreaLessTheFrame)
{
    const QRect laptop(0, 0, 1366, 768 - 32);
    const QMargins frame(8, 36, 8, 8);
    EXPECT_EQ(fittedSize({1100, 940}, {400, 300}, laptop, frame), QSize(1100, 768 - 32 - 44));
    EXPECT_EQ(fittedSize({980, 840}, {0, 0}, laptop, frame), QSize(980, 692));
    EXPECT_EQ(fittedSize({2000, 500}, {0, 0}, laptop, frame), QSize(1350, 500));
    EXPECT_EQ(fittedSize({560, 520}, {0, 0}, laptop, frame), QSize(560, 520));
    EXPECT_EQ(fittedSize({300, 200}, {400, 250}, laptop, frame), QSize(400, 250));
    EXPECT_EQ(fittedSize({300, 200}, {400, 900}, laptop, frame), QSize(400, 692));
    // No screen known: the wish and the minimum.
    EXPECT_EQ(fittedSize({300, 200}, {400, 100}, QRect(), frame), QSize(400, 200));

    // A window reaching past an edge is moved in as far as it must.
    const QRect area(0, 32, 1366, 736);
    EXPECT_EQ(insideArea({100, 100}, {500, 400}, area), QPoint(100, 100));
    EXPECT_EQ(insideArea({1000, 500}, {500, 400}, area), QPoint(866, 368));
    EXPECT_EQ(insideArea({-50, 0}, {500, 400}, area), QPoint(0, 32));
    // Larger than the area: its top left corner stays in view.
    EXPECT_EQ(insideArea({300, 300}, {1500, 900}, area), QPoint(0, 32));
}

// A dialog that asks for more than the screen opens inside it, its content
// scrolling and its button in view.
TEST(ScreenFit, ATallDialogOpensInsideTheScreenWithItsButtonsInView)
{
    QDialog dialog;
    auto* content = new QLabel("content");
    content->setMinimumSize(600, 1500);
    auto* button = new QPushButton("Close");
    auto* layout = new QVBoxLayout(&dialog);
    QScrollArea* scrolled = scrolling(content);
    layout->addWidget(scrolled);
    layout->addWidget(button);
    EXPECT_EQ(scrolled->widget(), content);
    EXPECT_EQ(scrolled->frameShape(), QFrame::NoFrame);
    fitToScreen(&dialog, QSize(1100, 1600));
    dialog.move(500, 400);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(dialog.frameGeometry()))
        << available.width() << "x" << available.height();
    EXPECT_LE(dialog.height(), available.height() - estimatedFrame().top());
    const QRect shownButton(button->mapTo(&dialog, QPoint(0, 0)), button->size());
    EXPECT_TRUE(dialog.rect().contains(shownButton));
    EXPECT_GT(button->height(), 0);
}
