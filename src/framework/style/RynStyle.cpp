#include "framework/style/RynStyle.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace ryn {

// Every derived format is a copy of its base taken at the moment it is made,
// so the order below matters: the headings descend from the bold text format
// and therefore all come out bold and black.
RynStyle::RynStyle()
{
    const QBrush shade(QColor(245, 250, 255), Qt::SolidPattern);
    const QBrush black(QColor("#000000"), Qt::SolidPattern);

    frameFormat.setTopMargin(10);
    frameFormat.setRightMargin(10);
    frameFormat.setBottomMargin(10);
    frameFormat.setLeftMargin(10);

    paragraphFormat.setTopMargin(12);
    paragraphFormat.setBottomMargin(10);
    tightParagraphFormat.setTopMargin(0);
    sectionParagraphFormat = paragraphFormat;
    sectionParagraphFormat.setTopMargin(18);

    cellRightFormat.setLeftMargin(4);
    cellRightFormat.setRightMargin(4);
    cellRightFormat.setAlignment(Qt::AlignRight);
    cellLeftFormat = cellRightFormat;
    cellLeftFormat.setAlignment(Qt::AlignLeft);
    cellCenterFormat = cellRightFormat;
    cellCenterFormat.setAlignment(Qt::AlignHCenter);
    cellCenterShadedFormat = cellCenterFormat;
    cellCenterShadedFormat.setBackground(shade);
    cellLeftShadedFormat = cellLeftFormat;
    cellLeftShadedFormat.setBackground(shade);

    indentedParagraphFormat = tightParagraphFormat;
    indentedParagraphFormat.setLeftMargin(10);

    textFormat.setFontPointSize(8);
    textFormat.setFontUnderline(false);
    textFormat.setFontWeight(QFont::Normal);
    textFormat.setForeground(black);
    textFormat.setFontItalic(false);
    italicTextFormat = textFormat;
    italicTextFormat.setFontItalic(true);
    boldTextFormat = textFormat;
    boldTextFormat.setFontWeight(QFont::Bold);
    boldTextFormat.setForeground(black);

    heading4Format = boldTextFormat;
    heading3Format = heading4Format;
    heading3Format.setFontPointSize(9);
    heading2Format = heading3Format;
    heading2Format.setFontPointSize(10);
    heading1Format = heading2Format;
    heading1Format.setFontPointSize(12);
    heading1Format.setUnderlineStyle(QTextCharFormat::SingleUnderline);

    cellFormat = textFormat.toTableCellFormat();
    cellFormat.setLeftPadding(10);
    cellFormat.setRightPadding(10);
    headerCellFormat = cellFormat;
    headerCellFormat.setFontWeight(QFont::Bold);
    headerCellUnderlinedFormat = headerCellFormat;
    headerCellUnderlinedFormat.setUnderlineStyle(QTextCharFormat::SingleUnderline);

    errorTextFormat = textFormat;
    errorTextFormat.setForeground(QBrush(QColor("#ff0000"), Qt::SolidPattern));

    gridTableFormat.setAlignment(Qt::AlignLeft);
    gridTableFormat.setBackground(QBrush(QColor("#ffffff"), Qt::SolidPattern));
    gridTableFormat.setCellPadding(2);
    gridTableFormat.setCellSpacing(0);
    gridTableFormat.setBorder(1);
    gridTableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    gridTableFormat.setBorderBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    gridTableFormat.setTopMargin(12);
    gridTableFormat.setBottomMargin(10);
    gridTableFormat.setLeftMargin(10);

    plainTableFormat.setBorder(0);
    plainTableFormat.setTopMargin(12);
    plainTableFormat.setBottomMargin(10);
    plainTableFormat.setLeftMargin(10);

    paddedCellFormat.setLeftPadding(10);
}

} // namespace ryn
