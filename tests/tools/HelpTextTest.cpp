#include "HelpText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova::manpage {
namespace {

// One line per block: "U:line|line", "T:prose", "E:term=description" with a
// leading ">" per depth, "X:line|line".
std::string describe(const std::vector<HelpBlock>& blocks) {
    std::string out;
    for (const HelpBlock& block : blocks) {
        switch (block.kind) {
            case HelpBlock::Kind::Usage: out += "U:"; break;
            case HelpBlock::Kind::Text: out += "T:"; break;
            case HelpBlock::Kind::Entries: out += "E:"; break;
            case HelpBlock::Kind::Example: out += "X:"; break;
        }
        std::string parts;
        for (const std::string& line : block.lines) parts += (parts.empty() ? "" : "|") + line;
        for (const HelpEntry& entry : block.entries) {
            parts += (parts.empty() ? "" : "|") + std::string(static_cast<std::size_t>(entry.depth), '>') + entry.term +
                     "=" + entry.description;
        }
        out += parts + "\n";
    }
    return out;
}

struct ParseCase {
    const char* name;
    const char* help;
    const char* expected;
};

class HelpTextParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(HelpTextParseTest, ExpectedBlocks) {
    EXPECT_EQ(describe(HelpText::parse(GetParam().help)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, HelpTextParseTest,
    ::testing::Values(
        ParseCase{"UsageLinesContinueUnderTheFirst",
                  "usage: tool show FILE\n       tool reset OUT\n\nText.\n",
                  "U:tool show FILE|tool reset OUT\nT:Text.\n"},
        ParseCase{"ProseLinesJoinIntoOneParagraph",
                  "Reads the file\nand prints it.\n\nSecond one.\n",
                  "T:Reads the file and prints it.\nT:Second one.\n"},
        ParseCase{"DescriptionContinuesAtItsColumn",
                  "  --gpx    print the route\n           as GPX 1.1\n  --help   show this\n",
                  "E:--gpx=print the route as GPX 1.1|--help=show this\n"},
        ParseCase{"DeeperEntryNestsAndTheNextReturns",
                  "  show FILE      list the fields\n    --json       as JSON\n  reset OUT      write it\n",
                  "E:show FILE=list the fields|>--json=as JSON|reset OUT=write it\n"},
        ParseCase{"TermFillingItsColumnKeepsOneSpace",
                  "  show FILE      list the fields\n  prepare IN OUT read IN\n                 and write OUT\n",
                  "E:show FILE=list the fields|prepare IN OUT=read IN and write OUT\n"},
        ParseCase{"HeadingLineThenEntriesInOneParagraph",
                  "commands:\n  scan          list recordings\n  drv           print the log\n",
                  "T:commands:\nE:scan=list recordings|drv=print the log\n"},
        ParseCase{"ProseAfterEntriesStartsAParagraph",
                  "  --help   show this\nExit status 0.\n",
                  "E:--help=show this\nT:Exit status 0.\n"},
        ParseCase{"IndentedLineWithoutDescriptionIsAnExample",
                  "For example:\n    tool scan /media/card\n",
                  "T:For example:\nX:    tool scan /media/card\n"},
        ParseCase{"LongProseWithADoubleSpaceIsNoEntry",
                  "  a sentence that runs well past any option name.  Then more\n",
                  "X:  a sentence that runs well past any option name.  Then more\n"},
        ParseCase{"LineLessIndentedThanTheColumnIsNoContinuation",
                  "  --size BYTES  plan for this size\n     see below\n",
                  "E:--size BYTES=plan for this size\nX:     see below\n"},
        ParseCase{"TrailingSpacesAndCarriageReturnsAreDropped",
                  "usage: tool DIR  \r\n\r\n  --json   as JSON \r\n",
                  "U:tool DIR\nE:--json=as JSON\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zentrova::manpage
