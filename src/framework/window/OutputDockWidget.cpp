#include "framework/window/OutputDockWidget.h"

#include <QFont>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>

namespace ryn {

OutputDockWidget::OutputDockWidget(QWidget* mainWindow)
    : QDockWidget(tr("Output"), mainWindow)
    , editor(new QTextEdit(this))
{
    editor->setReadOnly(true);
    setWidget(editor);
    cursor = editor->textCursor();

    QTextFrame* root = editor->document()->rootFrame();
    QTextFrameFormat rootFormat = root->frameFormat();
    rootFormat.setMargin(10);
    root->setFrameFormat(rootFormat);

    headingFormat.setFontPointSize(12);
    headingFormat.setFontWeight(QFont::Bold);
    baseFormat.setFontPointSize(10);
    normalFormat = baseFormat;
    errorFormat = baseFormat;
    errorFormat.setForeground(QBrush(Qt::red, Qt::SolidPattern));
    warningFormat = baseFormat;
    warningFormat.setFontItalic(true);
}

void OutputDockWidget::out(const QString& msg, OutputType type)
{
    cursor.insertText(msg, formatFor(type));
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::End);
    editor->setTextCursor(cursor);
}

const QTextCharFormat& OutputDockWidget::formatFor(OutputType type) const
{
    switch (type) {
    case Warning:
        return warningFormat;
    case Error:
        return errorFormat;
    case Heading:
        return headingFormat;
    default:
        return normalFormat;
    }
}

} // namespace ryn
