#include "controls/UiText.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(UiTextTest, FillTextTakesEveryArgumentInOrder) {
    struct Case {
        const char* name;
        QString filled;
        const char* expected;
    } cases[] = {
        {"none", fillText("plain"), "plain"},
        {"one", fillText("[Ver %@]", "1.2"), "[Ver 1.2]"},
        {"three", fillText("%@/%@/%@", "a", "b", "c"), "a/b/c"},
        {"four, past the old limit of three", fillText("%@-%@-%@-%@", "1", "2", "3", "4"), "1-2-3-4"},
        {"six", fillText("%@%@%@%@%@%@", "a", "b", "c", "d", "e", "f"), "abcdef"},
        {"fewer arguments than conversions", fillText("%@ and %@", "one"), "one and "},
        {"a percent sign", fillText("100%% %@", "done"), "100% done"},
        {"text beyond Latin-1", fillText("%@ \u00b0C", QStringLiteral("\u00e9t\u00e9")), "\u00e9t\u00e9 \u00b0C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.filled, QString::fromUtf8(c.expected));
    }
}

TEST(UiTextTest, FormatKeysAreLookedUpThenFilled) {
    EXPECT_EQ(uiFormat("main.version_fmt", QStringLiteral("9.8.7")), "[Ver 9.8.7]");
    EXPECT_EQ(uiFormat("msg.command_cannot_run_fmt", "mkfs.fat", "not found"),
              "The program mkfs.fat could not be started: not found");
    EXPECT_EQ(uiText("main.title"), "Zentrova");
    EXPECT_TRUE(uiText("no.such.key").isEmpty());
    EXPECT_TRUE(uiFormat("no.such.key", "ignored").isEmpty());
}

}  // namespace
}  // namespace zentrova
