#include "playback/PlayTimeText.h"

#include <gtest/gtest.h>

#include <limits>

namespace zentrova {
namespace {

TEST(PlayTimeTextTest, TimesBesideTheSliderCountWholeSecondsPlayedAndShowHoursOnlyForLongRecordings) {
    struct Case {
        const char* what;
        double position;
        std::int64_t lengthMs;
        PlayTimeText::Texts expected;
    } cases[] = {
        {"at the start", 0.0, 8000, {"0:00", "0:08"}},
        {"half way", 0.5, 8000, {"0:04", "0:08"}},
        {"59.5 s played is still 0:59", 59.5 / 120.0, 120000, {"0:59", "2:00"}},
        {"a length of 59.5 s shows as 0:59", 1.0, 59500, {"0:59", "0:59"}},
        {"an hour long: hours in both", 0.0, 3600 * 1000, {"0:00:00", "1:00:00"}},
        {"at the end of an hour", 1.0, 3600 * 1000, {"1:00:00", "1:00:00"}},
        {"past an hour", 0.5, 3 * 3600 * 1000 + 2 * 61000, {"1:31:01", "3:02:02"}},
        {"a position past the end is held to it", 1.7, 8000, {"0:08", "0:08"}},
        {"a position before the start is held to it", -0.2, 8000, {"0:00", "0:08"}},
        {"no position yet", std::numeric_limits<double>::quiet_NaN(), 8000, {"0:00", "0:08"}},
        {"length not known", 0.5, 0, {"-:--", "-:--"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PlayTimeText::Texts texts = PlayTimeText::forPosition(c.position, c.lengthMs);
        EXPECT_EQ(texts.elapsed, c.expected.elapsed);
        EXPECT_EQ(texts.total, c.expected.total);
    }
}

}  // namespace
}  // namespace zentrova
