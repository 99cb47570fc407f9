#include "common/Localization.h"
#include "common/StringsTable.h"

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

TEST(StringsTableTest, ParsesEscapesAndCommentsAndRejectsBrokenText) {
    auto table = StringsTable::parse("/* head */\n\"a.b\" = \"x \\\"y\\\"\\n\";\n// line\n\"c\"=\"\";");
    ASSERT_TRUE(table.has_value());
    ASSERT_NE(table->find("a.b"), nullptr);
    EXPECT_EQ(*table->find("a.b"), "x \"y\"\n");
    EXPECT_EQ(*table->find("c"), "");
    EXPECT_EQ(table->keys(), (std::vector<std::string>{"a.b", "c"}));

    for (const char* broken : {"\"a\" = \"b\"", "\"a\" \"b\";", "\"a\" = \"b;", "\"a\"=\"1\";\"a\"=\"2\";"}) {
        SCOPED_TRACE(broken);
        std::string error;
        EXPECT_FALSE(StringsTable::parse(broken, &error).has_value());
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace zentrova
