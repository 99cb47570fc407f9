#include "common/PrintableText.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(PrintableTextTest, NamesCannotSplitLinesOrCommandTheTerminal) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"plain name kept", "/card/Normal/alwa_20190312_081500_F.MP4", "/card/Normal/alwa_20190312_081500_F.MP4"},
        {"UTF-8 kept", "/card/caf\xc3\xa9/\xe6\x97\xa5", "/card/caf\xc3\xa9/\xe6\x97\xa5"},
        {"line breaks and tab", "a\nb\rc\td", "a\\nb\\rc\\td"},
        {"escape sequence", "x\x1b]0;owned\x07y", "x\\x1b]0;owned\\x07y"},
        {"NUL and DEL", std::string("a\0b\x7f", 4), "a\\x00b\\x7f"},
        {"C1 control (CSI)", "a\xc2\x9b" "31m", "a\\u009b31m"},
        {"right-to-left override", "evil\xe2\x80\xaegpj.mp4", "evil\\u202egpj.mp4"},
        {"bytes that are not UTF-8", "caf\xe9\xff", "caf\\xe9\\xff"},
        {"backslash doubled, so escapes stay unambiguous", "a\\nb", "a\\\\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(printableText(c.text), c.expected);
    }
}

}  // namespace
}  // namespace zentrova
