#pragma once

#include <QDockWidget>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextEdit;

namespace ryn {

// The "Output" dock at the bottom of the main window: a read-only log of
// status lines, warnings, errors and headings, one paragraph per message.
class OutputDockWidget : public QDockWidget
{
    Q_OBJECT

public:
    enum OutputType { Normal = 0, Warning = 1, Error = 2, Heading = 3 };

    explicit OutputDockWidget(QWidget* mainWindow);

    // Appends msg as a new paragraph in the format of its type and scrolls to it.
    void out(const QString& msg, OutputType type = Normal);

    QTextEdit* textEdit() const { return editor; }

private:
    const QTextCharFormat& formatFor(OutputType type) const;

    QTextEdit* editor;
    QTextCursor cursor;
    QTextCharFormat headingFormat;
    QTextCharFormat baseFormat;
    QTextCharFormat normalFormat;
    QTextCharFormat errorFormat;
    QTextCharFormat warningFormat;
};

} // namespace ryn
