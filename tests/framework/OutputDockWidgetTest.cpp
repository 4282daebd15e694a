#include "framework/OutputDockWidget.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>

using ryn::OutputDockWidget;

namespace {

// The character format of the text of paragraph n.
QTextCharFormat formatOfParagraph(const QTextDocument* doc, int n)
{
    return doc->findBlockByNumber(n).begin().fragment().charFormat();
}

} // namespace

TEST(OutputDockWidget, HeadingThenNormalGiveTwoParagraphsInTheirFormats)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    dock.out("x", OutputDockWidget::Heading);
    dock.out("y", OutputDockWidget::Normal);

    const QTextDocument* doc = dock.textEdit()->document();
    EXPECT_EQ(doc->findBlockByNumber(0).text(), "x");
    EXPECT_EQ(doc->findBlockByNumber(1).text(), "y");
    // The log always ends on a fresh empty paragraph for the next message.
    EXPECT_EQ(doc->blockCount(), 3);

    const QTextCharFormat heading = formatOfParagraph(doc, 0);
    EXPECT_EQ(heading.fontPointSize(), 12);
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    const QTextCharFormat normal = formatOfParagraph(doc, 1);
    EXPECT_EQ(normal.fontPointSize(), 10);
    EXPECT_EQ(normal.fontWeight(), QFont::Normal);
    EXPECT_FALSE(normal.fontItalic());
    EXPECT_FALSE(normal.hasProperty(QTextFormat::ForegroundBrush));
}

TEST(OutputDockWidget, ErrorsAreRedAndWarningsItalic)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    dock.out("bad", OutputDockWidget::Error);
    dock.out("odd", OutputDockWidget::Warning);
    dock.out("other", static_cast<OutputDockWidget::OutputType>(7));

    const QTextDocument* doc = dock.textEdit()->document();
    const QTextCharFormat error = formatOfParagraph(doc, 0);
    EXPECT_EQ(error.foreground().color(), QColor(Qt::red));
    EXPECT_EQ(error.foreground().style(), Qt::SolidPattern);
    EXPECT_EQ(error.fontPointSize(), 10);
    EXPECT_FALSE(error.fontItalic());

    const QTextCharFormat warning = formatOfParagraph(doc, 1);
    EXPECT_TRUE(warning.fontItalic());
    EXPECT_EQ(warning.fontPointSize(), 10);
    EXPECT_FALSE(warning.hasProperty(QTextFormat::ForegroundBrush));

    // An unknown type is written as a normal line.
    const QTextCharFormat other = formatOfParagraph(doc, 2);
    EXPECT_EQ(other.fontPointSize(), 10);
    EXPECT_FALSE(other.fontItalic());
    EXPECT_NE(other.fontWeight(), QFont::Bold);
}

TEST(OutputDockWidget, EmptyMessageStillAddsAParagraph)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    dock.out("first");
    dock.out("");
    dock.out("third");

    const QTextDocument* doc = dock.textEdit()->document();
    EXPECT_EQ(doc->blockCount(), 4);
    EXPECT_EQ(doc->findBlockByNumber(1).text(), "");
    EXPECT_EQ(doc->findBlockByNumber(2).text(), "third");
}

TEST(OutputDockWidget, IsAReadOnlyLogThatFollowsItsLastLine)
{
    QMainWindow window;
    OutputDockWidget dock(&window);
    EXPECT_EQ(dock.windowTitle(), "Output");
    EXPECT_EQ(dock.parent(), &window);
    EXPECT_EQ(dock.widget(), dock.textEdit());
    EXPECT_TRUE(dock.textEdit()->isReadOnly());
    EXPECT_EQ(dock.textEdit()->document()->rootFrame()->frameFormat().margin(), 10);

    for (int i = 0; i < 50; ++i)
        dock.out(QString("line %1").arg(i));
    const QTextCursor editorCursor = dock.textEdit()->textCursor();
    EXPECT_TRUE(editorCursor.atEnd());
    EXPECT_EQ(dock.textEdit()->document()->blockCount(), 51);
}
