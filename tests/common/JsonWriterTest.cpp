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

}  // namespace
}  // namespace zentrova
