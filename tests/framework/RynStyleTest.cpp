#include "framework/RynStyle.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>

using ryn::RynStyle;

namespace {

const QColor black("#000000");

} // namespace

TEST(RynStyle, AllHeadingsAreBoldAndBlackInFallingSizes)
{
    const RynStyle style;
    const QTextCharFormat headings[] = {style.heading1Format, style.heading2Format,
                                        style.heading3Format, style.heading4Format};
    const qreal sizes[] = {12, 10, 9, 8};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(headings[i].fontWeight(), QFont::Bold);
        EXPECT_EQ(headings[i].foreground().color(), black);
        EXPECT_EQ(headings[i].fontPointSize(), sizes[i]);
        EXPECT_FALSE(headings[i].fontItalic());
    }
    EXPECT_EQ(style.heading1Format.underlineStyle(), QTextCharFormat::SingleUnderline);
    for (const auto& heading : {style.heading2Format, style.heading3Format, style.heading4Format})
        EXPECT_EQ(heading.underlineStyle(), QTextCharFormat::NoUnderline);
}

TEST(RynStyle, DerivedFormatsAreCopiesNotReferences)
{
    RynStyle style;
    style.boldTextFormat.setFontPointSize(30);
    style.boldTextFormat.setForeground(Qt::green);
    EXPECT_EQ(style.heading4Format.fontPointSize(), 8);
    EXPECT_EQ(style.heading4Format.foreground().color(), black);

    style.textFormat.setFontItalic(true);
    style.paragraphFormat.setTopMargin(40);
    style.cellRightFormat.setAlignment(Qt::AlignJustify);
    EXPECT_FALSE(style.errorTextFormat.fontItalic());
    EXPECT_FALSE(style.boldTextFormat.fontItalic());
    EXPECT_EQ(style.sectionParagraphFormat.topMargin(), 18);
    EXPECT_EQ(style.cellCenterFormat.alignment(), Qt::AlignHCenter);

    // A second set is untouched by changes to the first.
    const RynStyle fresh;
    EXPECT_EQ(fresh.boldTextFormat.fontPointSize(), 8);
    EXPECT_EQ(fresh.paragraphFormat.topMargin(), 12);
}

TEST(RynStyle, TextFormatsCarryTheirValues)
{
    const RynStyle style;
    // Normal weight, not the thinnest one.
    EXPECT_EQ(style.textFormat.fontWeight(), QFont::Normal);
    EXPECT_EQ(style.textFormat.fontPointSize(), 8);
    EXPECT_FALSE(style.textFormat.fontUnderline());
    EXPECT_FALSE(style.textFormat.fontItalic());
    EXPECT_EQ(style.textFormat.foreground().color(), black);
    EXPECT_EQ(style.textFormat.foreground().style(), Qt::SolidPattern);

    EXPECT_TRUE(style.italicTextFormat.fontItalic());
    EXPECT_EQ(style.italicTextFormat.fontWeight(), QFont::Normal);
    EXPECT_EQ(style.boldTextFormat.fontWeight(), QFont::Bold);
    EXPECT_FALSE(style.boldTextFormat.fontItalic());

    EXPECT_EQ(style.errorTextFormat.foreground().color(), QColor("#ff0000"));
    EXPECT_EQ(style.errorTextFormat.fontPointSize(), 8);
    EXPECT_EQ(style.errorTextFormat.fontWeight(), QFont::Normal);
}

TEST(RynStyle, BlockAndFrameFormatsCarryTheirValues)
{
    const RynStyle style;
    EXPECT_EQ(style.frameFormat.topMargin(), 10);
    EXPECT_EQ(style.frameFormat.rightMargin(), 10);
    EXPECT_EQ(style.frameFormat.bottomMargin(), 10);
    EXPECT_EQ(style.frameFormat.leftMargin(), 10);

    EXPECT_EQ(style.paragraphFormat.topMargin(), 12);
    EXPECT_EQ(style.paragraphFormat.bottomMargin(), 10);
    EXPECT_EQ(style.tightParagraphFormat.topMargin(), 0);
    EXPECT_EQ(style.sectionParagraphFormat.topMargin(), 18);
    EXPECT_EQ(style.sectionParagraphFormat.bottomMargin(), 10);
    EXPECT_EQ(style.indentedParagraphFormat.topMargin(), 0);
    EXPECT_EQ(style.indentedParagraphFormat.leftMargin(), 10);

    const QColor shade(245, 250, 255);
    for (const auto& cell : {style.cellRightFormat, style.cellLeftFormat, style.cellCenterFormat,
                             style.cellCenterShadedFormat, style.cellLeftShadedFormat}) {
        EXPECT_EQ(cell.leftMargin(), 4);
        EXPECT_EQ(cell.rightMargin(), 4);
    }
    EXPECT_EQ(style.cellRightFormat.alignment(), Qt::AlignRight);
    EXPECT_EQ(style.cellLeftFormat.alignment(), Qt::AlignLeft);
    EXPECT_EQ(style.cellCenterFormat.alignment(), Qt::AlignHCenter);
    EXPECT_EQ(style.cellCenterShadedFormat.alignment(), Qt::AlignHCenter);
    EXPECT_EQ(style.cellCenterShadedFormat.background().color(), shade);
    EXPECT_EQ(style.cellLeftShadedFormat.alignment(), Qt::AlignLeft);
    EXPECT_EQ(style.cellLeftShadedFormat.background().color(), shade);
    EXPECT_EQ(style.cellLeftFormat.background().style(), Qt::NoBrush);
}

TEST(RynStyle, TableAndCellFormatsCarryTheirValues)
{
    const RynStyle style;
    const QTextTableFormat& grid = style.gridTableFormat;
    EXPECT_EQ(grid.alignment(), Qt::AlignLeft);
    EXPECT_EQ(grid.background().color(), QColor("#ffffff"));
    EXPECT_EQ(grid.cellPadding(), 2);
    EXPECT_EQ(grid.cellSpacing(), 0);
    EXPECT_EQ(grid.border(), 1);
    EXPECT_EQ(grid.borderStyle(), QTextFrameFormat::BorderStyle_Solid);
    EXPECT_EQ(grid.borderBrush().color(), QColor(Qt::lightGray));
    EXPECT_EQ(grid.topMargin(), 12);
    EXPECT_EQ(grid.bottomMargin(), 10);
    EXPECT_EQ(grid.leftMargin(), 10);

    EXPECT_EQ(style.plainTableFormat.border(), 0);
    EXPECT_EQ(style.plainTableFormat.topMargin(), 12);
    EXPECT_EQ(style.plainTableFormat.bottomMargin(), 10);
    EXPECT_EQ(style.plainTableFormat.leftMargin(), 10);

    EXPECT_EQ(style.paddedCellFormat.leftPadding(), 10);

    // Cell text is the 8 pt black text; headers add bold, then underline.
    EXPECT_EQ(style.cellFormat.fontPointSize(), 8);
    EXPECT_EQ(style.cellFormat.foreground().color(), black);
    EXPECT_EQ(style.cellFormat.leftPadding(), 10);
    EXPECT_EQ(style.cellFormat.rightPadding(), 10);
    EXPECT_EQ(style.cellFormat.fontWeight(), QFont::Normal);
    EXPECT_EQ(style.headerCellFormat.fontWeight(), QFont::Bold);
    EXPECT_EQ(style.headerCellFormat.leftPadding(), 10);
    EXPECT_FALSE(style.headerCellFormat.fontUnderline());
    EXPECT_EQ(style.headerCellUnderlinedFormat.fontWeight(), QFont::Bold);
    EXPECT_TRUE(style.headerCellUnderlinedFormat.fontUnderline());
}
