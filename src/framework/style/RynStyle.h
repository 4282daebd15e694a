#pragma once

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

namespace ryn {

// The fixed set of text formats every report is written with. Each study
// window carries one set; the report writers format paragraphs, text and
// tables with these members. All heading formats are bold and black.
class RynStyle
{
public:
    RynStyle();

    QTextFrameFormat frameFormat;
    QTextBlockFormat paragraphFormat;
    QTextBlockFormat tightParagraphFormat;
    QTextBlockFormat sectionParagraphFormat;
    QTextBlockFormat cellRightFormat;
    QTextBlockFormat cellLeftFormat;
    QTextBlockFormat cellCenterFormat;
    QTextBlockFormat cellCenterShadedFormat;
    QTextBlockFormat cellLeftShadedFormat;
    QTextBlockFormat indentedParagraphFormat;
    QTextCharFormat textFormat;
    QTextCharFormat boldTextFormat;
    QTextCharFormat italicTextFormat;
    QTextCharFormat heading1Format;
    QTextCharFormat heading2Format;
    QTextCharFormat heading3Format;
    QTextCharFormat heading4Format;
    QTextCharFormat errorTextFormat;
    QTextTableFormat gridTableFormat;
    QTextTableFormat plainTableFormat;
    QTextTableCellFormat paddedCellFormat;
    QTextTableCellFormat headerCellFormat;
    QTextTableCellFormat headerCellUnderlinedFormat;
    QTextTableCellFormat cellFormat;
};

} // namespace ryn
