#include "settings/CarNumberFilter.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(CarNumberFilterTest, KeepsAtMostEightAsciiLettersAndDigits) {
    struct Case {
        std::string_view text;
        std::string_view kept;
    } cases[] = {
        {"12 \xEA\xB0\x80 3456", "123456"},            // spaces and a Hangul letter between digits
        {"A-B-C-D-E-F-G-H-I-J", "ABCDEFGH"},           // ten letters with hyphens
        {"", ""},
        {"ab12CD34ef", "ab12CD34"},
        {"Z\xC3\xBCrich 7", "Zrich7"},
        {"!!!", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(filteredCarNumber(c.text), c.kept);
    }
}

}  // namespace
}  // namespace zentrova
