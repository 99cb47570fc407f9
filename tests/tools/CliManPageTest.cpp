#include "CliManPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova::manpage {
namespace {

const char* const kMainHelp =
    "usage: tool COMMAND [ARGS...]\n\n"
    "Works with the files. Nothing else.\n\n"
    "commands:\n"
    "  scan          list the recordings\n"
    "  format-plan   print the plan\n\n"
    "tool COMMAND --help describes one command.\n"
    "  --version     print the version\n";

const PageFacts kFacts{"1.2.3", "2026-01-02", {"zentrova(1)", "mount(8)"}};

TEST(CliManPageTest, CommandNamesAreTheEntriesUnderTheHeadingOnly) {
    EXPECT_EQ(CliManPage::commandNames(kMainHelp), (std::vector<std::string>{"scan", "format-plan"}));
}

TEST(CliManPageTest, NoHeadingGivesNoCommands) {
    EXPECT_TRUE(CliManPage::commandNames("usage: tool\n\n  --help   show this\n").empty());
}

TEST(CliManPageTest, PageHasTheSectionsAndACommandSubsectionEachInOrder) {
    const RenderedPage rendered = CliManPage::render(
        kMainHelp, {{"scan", "usage: tool scan DIR\n"}, {"format-plan", "usage: tool format-plan DEV\n"}}, kFacts);
    ASSERT_EQ(rendered.error, "");
    const std::string& page = rendered.page;
    EXPECT_EQ(page.rfind(".TH TOOL 1 \"2026-01-02\" \"zentrova 1.2.3\" \"User Commands\"\n", 0), 0u) << page;
    std::size_t at = 0;
    for (const char* part : {".SH NAME\ntool \\- works with the files\n", ".SH SYNOPSIS\n", ".SH DESCRIPTION\n",
                             "commands:", ".SH COMMANDS\n", ".SS scan\n", "\\fIDIR\\fR", ".SS format-plan\n",
                             ".SH SEE ALSO\n\\fBzentrova\\fR(1),\n\\fBmount\\fR(8)\n"}) {
        const std::size_t found = page.find(part, at);
        ASSERT_NE(found, std::string::npos) << "missing in order: " << part << "\n" << page;
        at = found;
    }
}

TEST(CliManPageTest, MainHelpWithoutUsageIsRefused) {
    EXPECT_NE(CliManPage::render("Just text.\n", {}, kFacts).error, "");
}

TEST(CliManPageTest, CommandHelpWithoutUsageIsRefusedByName) {
    const RenderedPage rendered = CliManPage::render(kMainHelp, {{"scan", "Scans.\n"}}, kFacts);
    EXPECT_NE(rendered.error.find("scan"), std::string::npos) << rendered.error;
    EXPECT_EQ(rendered.page, "");
}

}  // namespace
}  // namespace zentrova::manpage
