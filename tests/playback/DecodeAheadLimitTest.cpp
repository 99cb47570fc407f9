#include <gtest/gtest.h>

#include "playback/DecodeAheadLimit.h"

namespace zentrova {
namespace {

TEST(DecodeAheadLimitTest, WaitsOnlyAtTheLimitWhilePicturesAreShown) {
    constexpr std::size_t limit = DecodeAheadLimit::kInitialLimit;
    struct Case {
        const char* name;
        double lastShownMs;  // negative: none shown yet
        std::size_t held;
        double nowMs;
        bool waits;
    } cases[] = {
        {"nothing shown yet (starting)", -1, limit + 5, 1000, false},
        {"below the limit", 990, limit - 1, 1000, false},
        {"at the limit while playing", 990, limit, 1000, true},
        {"beyond the limit while playing", 990, limit + 3, 1000, true},
        {"at the limit, just within the showing time", 800, limit, 1000, true},
        {"at the limit, nothing shown for a while (paused)", 799, limit, 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodeAheadLimit ahead;
        if (c.lastShownMs >= 0) ahead.pictureShown(c.lastShownMs);
        EXPECT_EQ(ahead.shouldWait(c.held, c.nowMs), c.waits);
    }
}

TEST(DecodeAheadLimitTest, AWaitInVainRaisesTheLimitUpToTheLargest) {
    DecodeAheadLimit ahead(17);
    ahead.pictureShown(0);
    const std::size_t first = ahead.limit();
    EXPECT_TRUE(ahead.shouldWait(first, 10));
    ahead.waitedInVain();
    EXPECT_EQ(ahead.limit(), first + DecodeAheadLimit::kGrowth);
    EXPECT_FALSE(ahead.shouldWait(first, 10)) << "the stream needs more: it gets them";
    EXPECT_TRUE(ahead.mayTakeOneMore(first + 1));
    for (int i = 0; i < 10; ++i) ahead.waitedInVain();
    EXPECT_EQ(ahead.limit(), 17u);

    DecodeAheadLimit small(4);
    small.waitedInVain();
    EXPECT_EQ(small.limit(), DecodeAheadLimit::kInitialLimit) << "never below where it started";
}

}  // namespace
}  // namespace zentrova
