#include "engine/histories/RRCaptureHistoryIncrementer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "1010 R": the seen bits of sites 0 .. F, then " R" when removed.
std::string text(const CaptureHistory& history)
{
    std::string bits;
    for (int site = 0; site <= history.finalSite(); ++site)
        bits += history.isSeen(site) ? '1' : '0';
    return history.isRemoved() ? bits + " R" : bits;
}

std::vector<std::string> enumerate(int positionCount, int releaseSite)
{
    RRCaptureHistoryIncrementer incrementer(positionCount, releaseSite);
    std::vector<std::string> histories;
    while (incrementer.increment())
        histories.push_back(text(incrementer.history()));
    return histories;
}

} // namespace

TEST(RRCaptureHistoryIncrementer, EnumeratesHistoriesInFixedOrder)
{
    EXPECT_EQ(enumerate(3, 0),
              (std::vector<std::string>{"1000", "1001", "1010", "1010 R", "1011", "1100", "1100 R",
                                        "1101", "1110", "1110 R", "1111"}));
    EXPECT_EQ(enumerate(3, 1),
              (std::vector<std::string>{"0100", "0101", "0110", "0110 R", "0111"}));
    EXPECT_EQ(enumerate(3, 2), (std::vector<std::string>{"0010", "0011"}));
}

TEST(RRCaptureHistoryIncrementer, CountsAndShapesOfHistories)
{
    for (int k = 1; k <= 8; ++k) {
        RRCaptureHistoryIncrementer incrementer(k + 1, 1);
        int count = 0;
        while (incrementer.increment()) {
            ++count;
            const CaptureHistory& history = incrementer.history();
            EXPECT_EQ(history.releaseSite(), 1);
            if (history.isRemoved()) {
                EXPECT_NE(history.lastDetection(), history.finalSite());
                EXPECT_NE(history.lastDetection(), 1);
                EXPECT_TRUE(history.isRemovedAt(history.lastDetection()));
            }
        }
        EXPECT_EQ(count, (1 << k) + (1 << (k - 1)) - 1) << "K = " << k;
        EXPECT_FALSE(incrementer.increment());
        EXPECT_FALSE(incrementer.increment());
    }
    EXPECT_THROW(RRCaptureHistoryIncrementer(3, 3), std::invalid_argument);
}

TEST(CaptureHistory, UnseeOfLastDetectionFallsBackToNextSeenSite)
{
    CaptureHistory history(40);
    history.see(2);
    history.see(5);
    history.see(37);
    history.markRemoved();
    EXPECT_EQ(history.lastDetection(), 37);
    EXPECT_TRUE(history.isRemovedAt(37));
    EXPECT_FALSE(history.isRemovedAt(5));
    history.unsee(37);
    EXPECT_EQ(history.lastDetection(), 5);
    EXPECT_TRUE(history.isRemoved());
    history.unsee(2);
    EXPECT_EQ(history.lastDetection(), 5);
    EXPECT_EQ(history.releaseSite(), 5);
    history.clearRemoved();
    history.unsee(5);
    EXPECT_EQ(history.releaseSite(), 42);
}
