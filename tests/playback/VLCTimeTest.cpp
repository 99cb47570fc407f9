#include "playback/VLCTime.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(VLCTimeTest, TextIsMinutesAndSeconds) {
    struct Case {
        long long ms;
        const char* text;
    } cases[] = {{0, "00:00"}, {999, "00:00"}, {61000, "01:01"}, {3600000, "60:00"}, {-5000, "-00:05"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(VLCTime::timeWithInt(c.ms).stringValue(), c.text);
    }
    EXPECT_EQ(VLCTime::nullTime().intValue(), 0);
}

}  // namespace
}  // namespace zentrova
