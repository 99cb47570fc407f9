#include "common/StringsTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

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
