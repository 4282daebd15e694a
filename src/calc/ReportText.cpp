#include "calc/ReportText.h"

#include "studies/common/ReportFile.h"

#include <QBuffer>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QVector>

#include <algorithm>

namespace {

const QString indent = QStringLiteral("  ");
const QString gap = QStringLiteral("  ");

QString cellText(const QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char(' ')).trimmed();
}

// Labels (the first column) left-aligned, values right-aligned. A table
// drawn with a border is a report table, whose first row is its header.
QStringList tableLines(const QTextTable* table)
{
    QList<QStringList> cells;
    QVector<int> widths(table->columns(), 0);
    for (int row = 0; row < table->rows(); ++row) {
        QStringList texts;
        for (int column = 0; column < table->columns(); ++column) {
            texts << cellText(table, row, column);
            widths[column] = std::max(widths[column], texts.last().size());
        }
        cells << texts;
    }
    QStringList lines;
    for (int row = 0; row < cells.size(); ++row) {
        QStringList aligned;
        for (int column = 0; column < widths.size(); ++column) {
            const QString& text = cells[row][column];
            aligned << (column == 0 ? text.leftJustified(widths[column])
                                    : text.rightJustified(widths[column]));
        }
        QString line = indent + aligned.join(gap);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines << line;
        if (row == 0 && table->format().border() > 0 && cells.size() > 1) {
            QStringList rules;
            for (int width : widths)
                rules << QString(width, QLatin1Char('-'));
            lines << indent + rules.join(gap);
        }
    }
    return lines;
}

} // namespace

QString reportText(const QTextDocument& document)
{
    QStringList lines;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
            lines << QString() << tableLines(table) << QString();
        } else if (it.currentBlock().isValid()) {
            lines << it.currentBlock().text().split(QChar::LineSeparator) << QString();
        }
    }
    QStringList kept;
    for (const QString& line : lines) {
        const QString text = line.trimmed().isEmpty() ? QString() : line;
        if (!text.isEmpty() || (!kept.isEmpty() && !kept.last().isEmpty()))
            kept << text;
    }
    while (!kept.isEmpty() && kept.last().isEmpty())
        kept.removeLast();
    return kept.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QByteArray reportFile(const QTextDocument& document, CalcRequest::Format format, QString* error)
{
    const ReportFile::Format file = format == CalcRequest::Html  ? ReportFile::Html
                                    : format == CalcRequest::Odt ? ReportFile::OpenDocument
                                                                 : ReportFile::Pdf;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    *error = ReportFile::write(document, file, buffer);
    return error->isEmpty() ? buffer.data() : QByteArray();
}
