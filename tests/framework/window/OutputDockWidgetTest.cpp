#include "framework/window/OutputDockWidget.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

using ryn::OutputDockWidget;

namespace {

// The character format of the text of paragraph n.
QTextCharFormat formatOfParagraph(const OutputDockWidget& dock, int n)
{
    return dock.textEdit()->document()->findBlockByNumber(n).begin().fragment().charFormat();
}

QString textOfParagraph(const OutputDockWidget& dock, int n)
{
    return dock.textEdit()->document()->findBlockByNumber(n).text();
}

} // namespace

TEST(OutputDockWidget, HeadingThenNormalGiveTwoParagraphsInTheirFormats)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    dock.out("x", OutputDockWidget::Heading);
    dock.out("y", OutputDockWidget::Normal);

    EXPECT_EQ(textOfParagraph(dock, 0), "x");
    EXPECT_EQ(formatOfParagraph(dock, 0).fontPointSize(), 12);
    EXPECT_EQ(formatOfParagraph(dock, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(textOfParagraph(dock, 1), "y");
    EXPECT_EQ(formatOfParagraph(dock, 1).fontPointSize(), 10);
    EXPECT_EQ(formatOfParagraph(dock, 1).fontWeight(), QFont::Normal);
    // The view follows the newest line.
    EXPECT_TRUE(dock.textEdit()->textCursor().atEnd());
}

TEST(OutputDockWidget, ErrorsAreRedAndWarningsItalic)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    dock.out("bad", OutputDockWidget::Error);
    dock.out("odd", OutputDockWidget::Warning);

    EXPECT_EQ(formatOfParagraph(dock, 0).foreground().color(), QColor(Qt::red));
    EXPECT_FALSE(formatOfParagraph(dock, 0).fontItalic());
    EXPECT_TRUE(formatOfParagraph(dock, 1).fontItalic());
    EXPECT_FALSE(formatOfParagraph(dock, 1).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOfParagraph(dock, 1).fontPointSize(), 10);
}

TEST(OutputDockWidget, EmptyMessageStillAddsAParagraph)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    dock.out("first");
    dock.out("");
    dock.out("third");

    EXPECT_EQ(dock.textEdit()->document()->blockCount(), 4);
    EXPECT_EQ(textOfParagraph(dock, 1), "");
    EXPECT_EQ(textOfParagraph(dock, 2), "third");
}
