#include "telemetry/export/UtcTimeText.h"


#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zentrova {
namespace {

TEST(UtcTimeTextTest, RealTimesOnly) {
    struct Case {
        SYSTEMTIME time;
        std::optional<std::string> text;
    } cases[] = {
        {{2024, 3, 0, 12, 8, 15, 0, 0}, "2024-03-12T08:15:00Z"},
        {{2094, 3, 0, 23, 12, 35, 19, 7}, "2094-03-23T12:35:19.007Z"},
        {{2024, 2, 0, 29, 23, 59, 59, 999}, "2024-02-29T23:59:59.999Z"},
        {{}, std::nullopt},
        {{2023, 2, 0, 29, 0, 0, 0, 0}, std::nullopt},
        {{2024, 13, 0, 1, 0, 0, 0, 0}, std::nullopt},
        {{2024, 1, 0, 1, 24, 0, 0, 0}, std::nullopt},
        {{2024, 1, 0, 1, 0, 60, 0, 0}, std::nullopt},
        {{2024, 1, 0, 1, 0, 0, 99, 0}, std::nullopt},
        {{2024, 1, 0, 1, 0, 0, 0, 1000}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.value_or("none"));
        EXPECT_EQ(utcTimeText(c.time), c.text);
    }
}

}  // namespace
}  // namespace zentrova
