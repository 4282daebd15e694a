#include "framework/style/RynStyle.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>

using ryn::RynStyle;

TEST(RynStyle, AllHeadingsAreBoldAndBlackInFallingSizes)
{
    const RynStyle style;
    const QTextCharFormat headings[] = {style.heading1Format, style.heading2Format,
                                        style.heading3Format, style.heading4Format};
    const qreal sizes[] = {12, 10, 9, 8};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(headings[i].fontWeight(), QFont::Bold);
        EXPECT_EQ(headings[i].foreground().color(), QColor("#000000"));
        EXPECT_EQ(headings[i].fontPointSize(), sizes[i]);
        EXPECT_EQ(headings[i].fontUnderline(), i == 0);
    }
}

TEST(RynStyle, DerivedFormatsAreCopiesNotReferences)
{
    RynStyle style;
    style.boldTextFormat.setFontPointSize(30);
    style.textFormat.setFontItalic(true);
    style.paragraphFormat.setTopMargin(40);
    EXPECT_EQ(style.heading4Format.fontPointSize(), 8);
    EXPECT_FALSE(style.errorTextFormat.fontItalic());
    EXPECT_EQ(style.sectionParagraphFormat.topMargin(), 18);
    EXPECT_EQ(style.sectionParagraphFormat.bottomMargin(), 10);
}

TEST(RynStyle, BodyTextIsNormalWeightAndCellsInheritIt)
{
    const RynStyle style;
    // Normal weight, not the thinnest one.
    EXPECT_EQ(style.textFormat.fontWeight(), QFont::Normal);
    EXPECT_EQ(style.italicTextFormat.fontWeight(), QFont::Normal);
    EXPECT_TRUE(style.italicTextFormat.fontItalic());
    EXPECT_EQ(style.errorTextFormat.foreground().color(), QColor("#ff0000"));

    EXPECT_EQ(style.cellFormat.fontPointSize(), 8);
    EXPECT_EQ(style.cellFormat.leftPadding(), 10);
    EXPECT_EQ(style.cellFormat.rightPadding(), 10);
    EXPECT_EQ(style.headerCellFormat.fontWeight(), QFont::Bold);
    EXPECT_FALSE(style.headerCellFormat.fontUnderline());
    EXPECT_TRUE(style.headerCellUnderlinedFormat.fontUnderline());
    EXPECT_EQ(style.headerCellUnderlinedFormat.leftPadding(), 10);

    EXPECT_EQ(style.cellCenterShadedFormat.alignment(), Qt::AlignHCenter);
    EXPECT_EQ(style.cellCenterShadedFormat.leftMargin(), 4);
    EXPECT_EQ(style.cellLeftShadedFormat.background().color(), QColor(245, 250, 255));
    EXPECT_EQ(style.indentedParagraphFormat.leftMargin(), 10);
}
