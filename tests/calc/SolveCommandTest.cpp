#include "CalcTestSupport.h"

#include <gtest/gtest.h>

using quorvel::test::examplePath;
using quorvel::test::runCalc;

// The balloon-tag example (Sc 0.8, St 0.72 so T 0.9, Pa 0.5): Var(T) =
// a/Rc + b/Rt with a = T²(1 − Pa·Sc)/(Sc·Pa) and b = T(1 − T·Sc·Pa)/(Sc·Pa),
// so the best split of 3000 fish gives Rc 3000·√a/(√a + √b) = 1436.3, and an
// SE of 0.03 needs (√a + √b)²/0.03² = 5889.4 fish at it: 5890, split 2820 to
// 3070 (SE 0.0299984; 5889 fish reach 0.0300010 at best).
TEST(SolveCommand, PlansTheBalloonTagSplitAndRefusesWhatItCannotPlan)
{
    const auto solved = runCalc({"--solve", "split", "--for", "T", "--target", "se=0.03", "--total",
                                 "3000", examplePath("btps")});
    EXPECT_EQ(solved.status, 0) << solved.err.toStdString();
    EXPECT_TRUE(solved.out.contains("Rc = 1436, Rt = 1564")) << solved.out.toStdString();
    EXPECT_TRUE(solved.out.contains("5890 fish: Rc = 2820, Rt = 3070")) << solved.out.toStdString();

    const auto unknown =
        runCalc({"--solve", "release", "--for", "S9", "--target", "hw95=0.1", examplePath("btps")});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("does not estimate \"S9\": its quantities are T"));
    for (const QStringList& refused :
         {QStringList{"--solve", "split", "--for", "T", "--target", "se"},
          QStringList{"--solve", "release", "--for", "T", "--target", "se=0.1", "--total", "9"},
          QStringList{"--for", "T"}}) {
        const auto result = runCalc(refused + QStringList{examplePath("btps")});
        EXPECT_EQ(result.status, 2) << refused.join(' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    EXPECT_TRUE(runCalc({"--help"}).out.contains("--solve WHAT"));
}
