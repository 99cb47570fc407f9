#include "common/JsonWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace zentrova {
namespace {

TEST(JsonWriterTest, NestsWithSeparators) {
    JsonWriter json;
    json.beginObject().key("a").value(1).key("b").beginArray().value(true).null().beginObject().endObject().endArray()
        .key("c").value("x").endObject();
    EXPECT_EQ(json.text(), R"({"a":1,"b":[true,null,{}],"c":"x"})");
}

TEST(JsonWriterTest, NumbersAreExactInTheirOwnType) {
    struct Case {
        JsonWriter json;
        const char* expected;
    };
    JsonWriter a; a.value(4807.038f);
    JsonWriter b; b.value(static_cast<double>(22.4f));
    JsonWriter c; c.value(std::numeric_limits<std::int64_t>::min());
    JsonWriter d; d.value(std::numeric_limits<std::uint64_t>::max());
    JsonWriter e; e.value(std::numeric_limits<double>::quiet_NaN());
    JsonWriter f; f.value(0.1);
    EXPECT_EQ(a.text(), "4807.038");
    EXPECT_EQ(b.text(), "22.399999618530273");
    EXPECT_EQ(c.text(), "-9223372036854775808");
    EXPECT_EQ(d.text(), "18446744073709551615");
    EXPECT_EQ(e.text(), "null");
    EXPECT_EQ(f.text(), "0.1");
}

TEST(JsonWriterTest, EscapesControlCharactersQuotesAndBackslashes) {
    EXPECT_EQ(JsonWriter::escaped(std::string("a\"b\\c\n\x01", 7)), R"("a\"b\\c\n\u0001")");
    EXPECT_EQ(JsonWriter::escaped("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
}

// Names on a card are bytes; the output must stay valid JSON whatever they hold.
TEST(JsonWriterTest, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"Latin-1 byte", "caf\xe9", "\"caf" + fffd + "\""},
        {"stray continuation byte", "a\x80" "b", "\"a" + fffd + "b\""},
        {"overlong slash", "\xc0\xaf", "\"" + fffd + fffd + "\""},
        {"surrogate", "\xed\xa0\x80", "\"" + fffd + fffd + fffd + "\""},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\"" + fffd + fffd + fffd + fffd + "\""},
        {"cut-off sequence at the end", "x\xe2\x82", "\"x" + fffd + fffd + "\""},
        {"lead byte F5", "\xf5", "\"" + fffd + "\""},
        {"valid two, three and four bytes kept", "\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\x97",
         "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x9a\x97\""},
        {"escape after an invalid byte", "\xff\n", "\"" + fffd + "\\n\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JsonWriter::escaped(c.text), c.expected);
    }
}

TEST(JsonWriterTest, TextMemberKeepsTheExactBytesOnlyWhenTheTextIsNotUtf8) {
    JsonWriter valid;
    valid.beginObject().textMember("path", "/card/caf\xc3\xa9 100%").endObject();
    EXPECT_EQ(valid.text(), "{\"path\":\"/card/caf\xc3\xa9 100%\"}");

    JsonWriter invalid;
    invalid.beginObject().textMember("path", std::string("/c\xffrd/a\nb\0%", 11)).key("n").value(1).endObject();
    EXPECT_EQ(invalid.text(),
              "{\"path\":\"/c\xEF\xBF\xBDrd/a\\nb\\u0000%\",\"pathBytes\":\"/c%FFrd/a%0Ab%00%25\",\"n\":1}");
}

}  // namespace
}  // namespace zentrova
