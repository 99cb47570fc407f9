#include "cli/CheckCommand.h"
#include "cli/CliCommand.h"
#include "common/JsonWriter.h"

#include "support/CliRun.h"
#include "support/GeneratedCard.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

using test::CliRun;

CliRun checkRun(const std::vector<std::string>& args) { return test::runCli(runCheckCommand, args); }

TEST(CheckCommandTest, ExitStatusByTheWorstFinding) {
    test::TempDir empty;
    test::TempDir broken;
    broken.touch("Normal/alwa_20240614_093000_F.MP4");
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"a folder without recordings: a warning", {empty.str()}, kExitFailure},
        {"an empty recording: a problem", {broken.str()}, kExitCheckProblems},
        {"the same as JSON", {broken.str(), "--json"}, kExitCheckProblems},
        {"no folder", {}, kExitUsage},
        {"two folders", {empty.str(), broken.str()}, kExitUsage},
        {"an unknown option", {empty.str(), "--fast"}, kExitUsage},
        {"a folder that is not there", {empty.str() + "/gone"}, kExitUsage},
        {"a file for a folder", {broken.str() + "/Normal/alwa_20240614_093000_F.MP4"}, kExitUsage},
        {"help", {"--help"}, kExitOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = checkRun(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == kExitUsage) {
            EXPECT_TRUE(run.out.empty());
            EXPECT_EQ(run.err.rfind("zentrova-cli: check: ", 0), 0u) << run.err;
        }
    }
}

TEST(CheckCommandTest, FolderNamesThatAreNotTextStayOneLineAndValidJson) {
    test::TempDir card;
    const std::string folder = "odd\x1b[31m\xff";
    card.touch(folder + "/alwa_20240614_093000_F.MP4");
    const CliRun table = checkRun({card.str()});
    EXPECT_EQ(table.status, kExitCheckProblems);
    EXPECT_EQ(table.out.find('\x1b'), std::string::npos) << "a terminal command got through";
    EXPECT_NE(table.out.find("odd\\x1b[31m\\xff/alwa_20240614_093000_F.MP4 is empty"), std::string::npos) << table.out;

    const CliRun json = checkRun({card.str(), "--json"});
    EXPECT_EQ(json.out.find('\xff'), std::string::npos) << "bytes that are not UTF-8";
    EXPECT_NE(json.out.find("\"pathBytes\":\"" + JsonWriter::percentEncoded(card.str() + "/" + folder)),
              std::string::npos)
        << json.out;
}

TEST(CheckCommandTest, TableAndJsonOfACleanCard) {
    const test::GeneratedCard card;
    ASSERT_TRUE(card.result.card) << card.result.error;
    const CliRun table = checkRun({card.root()});
    EXPECT_EQ(table.status, kExitOk) << table.out;
    EXPECT_NE(table.out.find("Normal/alwa_20240614_093000_F.MP4"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("plays"), std::string::npos);
    EXPECT_NE(table.out.find("[check.clock.in_step]"), std::string::npos);
    EXPECT_NE(table.out.find("0 problems, 0 warnings"), std::string::npos);

    const CliRun json = checkRun({card.root(), "--json"});
    EXPECT_EQ(json.status, kExitOk);
    ASSERT_FALSE(json.out.empty());
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_EQ(json.out.back(), '\n');
    for (const char* key :
         {"\"directory\":", "\"complete\":true", "\"worst\":\"info\"", "\"counts\":{\"problem\":0,\"warning\":0,",
          "\"recordings\":[", "\"files\":[{\"side\":\"front\"", "\"state\":\"plays\"", "\"lengthSeconds\":",
          "\"telemetry\":{\"records\":40,\"validFixes\":", "\"days\":[{\"date\":\"2024-06-14\"",
          "\"clock\":{\"verdict\":\"inStep\"", "\"timeGmt\":15,\"summerTime\":true,\"utcOffsetMinutes\":120",
          "\"settings\":{\"path\":", "\"checksumRight\":true", "\"split\":{\"continuous\":70,\"motion\":20,\"event\":10",
          "\"space\":{\"capacity\":", "\"findings\":[{\"severity\":\"info\",\"key\":\"check.card.summary\""}) {
        EXPECT_NE(json.out.find(key), std::string::npos) << key;
    }
}

}  // namespace
}  // namespace zentrova
