#include "forms/dialogs/FillReachesDialog.h"

#include <gtest/gtest.h>

#include <QTest>

TEST(FillReachesDialog, SpanCoversTheReachesAndTheFieldsTakeOnlyNumbers)
{
    FillReachesDialog dialog(2, 99);
    EXPECT_EQ(dialog.fromSpin->minimum(), 2);
    EXPECT_EQ(dialog.toSpin->maximum(), 99);
    EXPECT_EQ(dialog.toSpin->value(), 99);

    dialog.toSpin->setValue(10);
    dialog.fromSpin->setValue(40); // "to" never lies before "from"
    EXPECT_EQ(dialog.toSpin->value(), 40);

    QTest::keyClicks(dialog.survivalEdit, "0.9:5x");
    QTest::keyClicks(dialog.removalEdit, "0");
    const ReachFill fill = dialog.fill();
    EXPECT_EQ(fill.from, 40);
    EXPECT_EQ(fill.to, 40);
    EXPECT_EQ(fill.survival, "0.95");
    EXPECT_TRUE(fill.detection.isEmpty());
    EXPECT_EQ(fill.removal, "0");
}
