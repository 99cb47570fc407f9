#include "playback/FastPlaySeek.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace zentrova;

TEST(FastPlaySeekTest, LandsOnWholeSecondsOnlyWhenPlayingFast) {
    struct Case {
        const char* name;
        std::int64_t targetMs;
        std::int64_t lengthMs;
        double rate;
        std::int64_t expectedMs;
    };
    const Case cases[] = {
        {"normal speed is exact", 35904, 60000, 1.0, 35904},
        {"slow speed is exact", 35904, 60000, 0.5, 35904},
        {"fast rounds up", 35904, 60000, 2.0, 36000},
        {"fast rounds down", 35404, 60000, 2.0, 35000},
        {"half a second goes up", 35500, 60000, 2.0, 36000},
        {"before the start is the start", -2500, 60000, 2.0, 0},
        {"before the start at normal speed", -2500, 60000, 1.0, 0},
        {"never past the end it did not ask for", 59600, 59700, 2.0, 59000},
        {"at the end stays at the end", 59700, 59700, 2.0, 59700},
        {"past the end stays past the end", 69700, 59700, 2.0, 69700},
        {"length not known yet", 35904, 0, 2.0, 35904},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FastPlaySeek::landingMs(c.targetMs, c.lengthMs, c.rate), c.expectedMs) << c.name;
    }
}
