#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace quorvel::test {

// Reading a written report as a reader of the document sees it: its tables in
// order, the texts of their cells, and the paragraphs outside the tables.
inline QList<QTextTable*> tablesOf(const QTextDocument& document)
{
    QList<QTextTable*> tables;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables.append(table);
    }
    return tables;
}

inline QString cellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

inline QStringList rowTexts(QTextTable* table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columns(); ++column)
        texts << cellText(table, row, column);
    return texts;
}

// The character format of the first character of a cell.
inline QTextCharFormat cellCharFormat(QTextTable* table, int row, int column)
{
    QTextCursor cursor = table->cellAt(row, column).firstCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return cursor.charFormat();
}

// The non-empty paragraphs of the root frame, outside every table.
inline QStringList headingsOf(const QTextDocument& document)
{
    QStringList texts;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        const QTextBlock block = it.currentBlock();
        if (block.isValid() && !block.text().isEmpty())
            texts << block.text();
    }
    return texts;
}

// The first table after the paragraph that reads heading, null when there is
// none.
inline QTextTable* tableUnder(const QTextDocument& document, const QString& heading)
{
    bool under = false;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            if (under)
                return table;
        } else if (it.currentBlock().isValid() && !it.currentBlock().text().isEmpty()) {
            under = it.currentBlock().text() == heading;
        }
    }
    return nullptr;
}

} // namespace quorvel::test
