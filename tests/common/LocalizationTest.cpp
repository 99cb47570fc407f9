#include "common/Localization.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(LocalizationTest, KnownKeyHasTextAndMissingKeyIsEmpty) {
    EXPECT_FALSE(localized("filelist.mode").empty());
    EXPECT_EQ(localized("no.such.key"), "");
    EXPECT_FALSE(hasLocalizedText("no.such.key"));
}

TEST(LocalizationTest, FillFormatReplacesConversionsInOrder) {
    struct Case {
        const char* format;
        std::initializer_list<std::string> args;
        const char* expected;
    } cases[] = {
        {"[Ver %@]", {"1.2.0"}, "[Ver 1.2.0]"},
        {"%d to %.2f", {"1", "1.50"}, "1 to 1.50"},
        {"100%% of %ld", {"7"}, "100% of 7"},
        {"%@ and %@", {"a"}, "a and "},
        {"no conversions", {}, "no conversions"},
        {"trailing %", {}, "trailing %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(fillFormat(c.format, c.args), c.expected);
    }
}

TEST(LocalizationTest, FillNumberFormatFormatsEachConversionLikePrintf) {
    struct Case {
        std::string_view format;
        std::initializer_list<double> args;
        std::string_view text;
    } cases[] = {
        {"from %.2f to %.2f", {0.05, 1.5}, "from 0.05 to 1.50"},
        {"%f", {1.5}, "1.500000"},
        {"%5.1f|%-6.1f|%06.2f|%+.1f", {2.25, 3.0, -1.5, 4.0}, "  2.2|3.0   |-01.50|+4.0"},
        {"%@ and %d%%", {0.05, 7.9}, "0.05 and 7%"},
        {"%.3e %g", {1234.5, 0.0001}, "1.234e+03 0.0001"},
        {"%lf then %.2f", {1.0}, "1.000000 then "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format));
        EXPECT_EQ(fillNumberFormat(c.format, c.args), c.text);
    }
}

}  // namespace
}  // namespace zentrova
