#include "cli/CliCommand.h"
#include "support/CliRun.h"
#include "support/FileText.h"
#include "cli/TimesetCommand.h"

#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

using test::CliRun;

CliRun timeset(std::vector<std::string> args) { return test::runCli(runTimesetCommand, args); }

TEST(TimesetCommandTest, WritesTheGivenDateAndTime) {
    TempDir dir;
    const std::string out = (dir.path() / "timeset.cfg").string();
    for (std::string old : {"", "1999/01/01 00:00:00", "1999/01/01 00:00:00 written by an older tool\n"}) {
        SCOPED_TRACE(old);
        fs::remove(out);
        if (!old.empty()) dir.touch("timeset.cfg", old);
        CliRun run = timeset({out, "--date", "2026-12-05", "--time", "07:03:09"});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_EQ(run.out + run.err, "");
        EXPECT_EQ(test::fileText(out), "2026/12/05 07:03:09");
    }
}

TEST(TimesetCommandTest, AYearTheCameraCannotHoldIsRefusedWithTheRange) {
    TempDir dir;
    const std::string out = (dir.path() / "timeset.cfg").string();
    CliRun run = timeset({out, "--date", "2156-01-01"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("from 1970-01-01 to 2155-12-31"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(timeset({out, "--date", "2155-12-31"}).status, kExitOk);
}

TEST(TimesetCommandTest, NowByDefault) {
    TempDir dir;
    const std::string out = (dir.path() / "timeset.cfg").string();
    const std::regex clock(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2})");
    ASSERT_EQ(timeset({out}).status, kExitOk);
    EXPECT_TRUE(std::regex_match(test::fileText(out), clock)) << test::fileText(out);
    ASSERT_EQ(timeset({"--time", "23:59:58", out}).status, kExitOk);
    EXPECT_TRUE(test::fileText(out).ends_with(" 23:59:58")) << test::fileText(out);
    ASSERT_EQ(timeset({out, "--date", "2024-02-29"}).status, kExitOk);
    EXPECT_TRUE(test::fileText(out).starts_with("2024/02/29 ")) << test::fileText(out);
}

TEST(TimesetCommandTest, BadArgumentsAreOneLineAndStatus2) {
    TempDir dir;
    const std::string out = (dir.path() / "timeset.cfg").string();
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--date", "2026-12-05"},
        {out, out},
        {out, "--zone", "UTC"},
        {out, "--date"},
        {out, "--time"},
        {out, "--date", "2026-02-29"},
        {out, "--date", "2026-13-01"},
        {out, "--date", "2026-12-5"},
        {out, "--date", "2026/12/05"},
        {out, "--date", "+026-12-05"},
        {out, "--time", "24:00:00"},
        {out, "--time", "07:60:00"},
        {out, "--time", "07:03:60"},
        {out, "--time", "7:03:09"},
        {out, "--time", "07:03:09.5"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.empty() ? "no arguments" : args.back());
        CliRun run = timeset(args);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.err.starts_with("zentrova-cli: timeset: ")) << run.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(TimesetCommandTest, AnUnwritableFolderIsStatus1) {
    TempDir dir;
    fs::path folder = dir.mkdir("card");
    ::chmod(dir.str().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    const std::string out = (folder / "timeset.cfg").string();
    std::string outcome = test::runAsUnprivilegedUser([&] {
        CliRun run = timeset({out, "--date", "2026-12-05", "--time", "07:03:09"});
        return std::to_string(run.status) + "|" + run.err;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(outcome, "1|zentrova-cli: timeset: cannot write " + out + ": Permission denied\n");
    EXPECT_FALSE(fs::exists(out));
}

TEST(TimesetCommandTest, HelpAndTheRealProgram) {
    CliRun help = timeset({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_TRUE(help.out.starts_with("usage: zentrova-cli timeset OUT [--date YYYY-MM-DD] [--time HH:MM:SS]\n"));

    TempDir dir;
    const std::string out = (dir.path() / "timeset.cfg").string();
    const std::string cli = std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli";
    struct Case {
        std::string args;
        int status;
    } cases[] = {{"timeset --help", 0},
                 {"timeset 2>/dev/null", 2},
                 {"timeset /no/such/folder/timeset.cfg 2>/dev/null", 1},
                 {"timeset " + out + " --date 2026-12-05 --time 07:03:09", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        int status = std::system((cli + " " + c.args + " >/dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
    }
    EXPECT_EQ(test::fileText(out), "2026/12/05 07:03:09");
}

}  // namespace
}  // namespace zentrova
