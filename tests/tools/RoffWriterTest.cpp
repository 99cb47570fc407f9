#include "RoffWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zentrova::manpage {
namespace {

struct EscapeCase {
    const char* name;
    const char* input;
    const char* expected;
};

class RoffTextTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(RoffTextTest, ExpectedRoff) { EXPECT_EQ(RoffWriter::text(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Prose, RoffTextTest,
    ::testing::Values(
        EscapeCase{"LeadingDotIsNoRequest", ".drv files are read", "\\&.drv files are read"},
        EscapeCase{"LeadingQuoteIsNoRequest", "'yyyy' is the year", "\\&'yyyy' is the year"},
        EscapeCase{"BackslashIsPrinted", "a \\ b", "a \\e b"},
        EscapeCase{"OptionsGetMinusSigns", "see --help or -o", "see \\-\\-help or \\-o"},
        EscapeCase{"OptionInParenthesesGetsMinusSigns", "(see zentrova-cli telemetry --help)",
                   "(see zentrova\\-cli telemetry \\-\\-help)"},
        EscapeCase{"WordHyphensStay", "a 24-hour G-sensor clock", "a 24-hour G-sensor clock"},
        EscapeCase{"DotInsideALineStays", "file.mp4 ends. Next", "file.mp4 ends. Next"}),
    [](const auto& info) { return std::string(info.param.name); });

class RoffCommandTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(RoffCommandTest, ExpectedRoff) { EXPECT_EQ(RoffWriter::command(GetParam().input), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Commands, RoffCommandTest,
    ::testing::Values(
        EscapeCase{"CommandsBoldPlaceholdersItalic", "zentrova-cli scan DIR",
                   "\\fBzentrova\\-cli\\fR \\fBscan\\fR \\fIDIR\\fR"},
        EscapeCase{"BracketsAndBarsStayRoman", "[--json|--gpx]", "[\\fB\\-\\-json\\fR|\\fB\\-\\-gpx\\fR]"},
        EscapeCase{"PlaceholderHyphensAreMinusSigns", "--date YYYY-MM-DD", "\\fB\\-\\-date\\fR \\fIYYYY\\-MM\\-DD\\fR"},
        EscapeCase{"SubcommandHyphensAreMinusSigns", "format-plan", "\\fBformat\\-plan\\fR"},
        EscapeCase{"EllipsisStaysWithItsPlaceholder", "[ARGS...]", "[\\fIARGS...\\fR]"}),
    [](const auto& info) { return std::string(info.param.name); });

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(RoffWriterBlocksTest, NestedEntriesCloseEveryIndentTheyOpen) {
    HelpBlock entries{HelpBlock::Kind::Entries, {}, {{"show", "a", 0}, {"--json", "b", 1}, {"--x", "c", 2}}};
    const std::string roff = RoffWriter::blocks({entries});
    EXPECT_EQ(count(roff, ".RS\n"), 2u);
    EXPECT_EQ(count(roff, ".RE\n"), 2u);
    EXPECT_EQ(count(roff, ".TP "), 3u);
}

TEST(RoffWriterBlocksTest, TagWidthFollowsTheWidestTermOfEachDepth) {
    HelpBlock entries{HelpBlock::Kind::Entries, {}, {{"reset OUT", "a", 0}, {"--json", "b", 1}, {"show", "c", 0}}};
    const std::string roff = RoffWriter::blocks({entries});
    EXPECT_EQ(count(roff, ".TP 11n\n"), 2u) << roff;
    EXPECT_EQ(count(roff, ".TP 8n\n"), 1u) << roff;
}

TEST(RoffWriterBlocksTest, ExampleKeepsItsSpacingAndCannotStartARequest) {
    HelpBlock example{HelpBlock::Kind::Example, {"  tool  scan", ".hidden"}, {}};
    const std::string roff = RoffWriter::blocks({example});
    EXPECT_NE(roff.find("\n  tool  scan\n"), std::string::npos) << roff;
    EXPECT_NE(roff.find("\n\\&.hidden\n"), std::string::npos) << roff;
    EXPECT_LT(roff.find(".nf"), roff.find("tool")) << roff;
    EXPECT_GT(roff.find(".fi"), roff.find(".hidden")) << roff;
}

}  // namespace
}  // namespace zentrova::manpage
