#include "settings/TimeZoneList.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(TimeZoneListTest, PositionsOffsetsAndLabelsOfTheGpsPage) {
    struct Case {
        std::int32_t index;
        std::optional<int> minutes;
        std::string_view label;
    } cases[] = {
        {0, -720, "-12:00"}, {8, -270, "-04:30"}, {13, -60, "-01:00"}, {14, 0, "00:00"},  {15, 60, "+01:00"},
        {23, 345, "+05:45"}, {28, 540, "+09:00"}, {29, 570, "+09:30"}, {33, 780, "+13:00"},
        {-1, std::nullopt, ""}, {34, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(TimeZoneList::offsetMinutes(c.index), c.minutes);
        EXPECT_EQ(TimeZoneList::label(c.index), c.label);
        if (c.minutes) {
            EXPECT_EQ(TimeZoneList::indexOfOffset(*c.minutes), c.index);
        }
    }
    EXPECT_FALSE(TimeZoneList::indexOfOffset(15));
}

TEST(TimeZoneListTest, AscendingWithoutRepeats) {
    for (std::int32_t i = 1; i < TimeZoneList::kCount; ++i) {
        EXPECT_LT(*TimeZoneList::offsetMinutes(i - 1), *TimeZoneList::offsetMinutes(i)) << i;
    }
}

}  // namespace
}  // namespace zentrova
