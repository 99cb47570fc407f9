#include "cli/CliCommand.h"
#include "support/CliRun.h"
#include "cli/ScanCommand.h"

#include "common/Utf8.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include <sys/stat.h>

namespace zentrova {
namespace {
using test::TempDir;

using test::CliRun;

CliRun scan(std::vector<std::string> args) { return test::runCli(runScanCommand, args); }

TEST(ScanCommandTest, JsonHasEveryFieldAndThePairs) {
    TempDir card;
    card.touch("A/alwa_20190312_081500_F.MP4");
    card.touch("A/alwa_20190312_081500_R.MP4");
    card.touch("B/motion_20191301_081500_R.mp4");
    CliRun run = scan({card.str(), "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::string d = card.str();
    const std::string expected =
        "{\"directory\":\"" + d + "\",\"medias\":["
        "{\"path\":\"" + d + "/B/motion_20191301_081500_R.mp4\",\"fileName\":\"motion_20191301_081500_R.mp4\","
        "\"mediaName\":\"motion_20191301_081500_R\",\"extension\":\"mp4\",\"dir\":\"" + d + "/B\",\"year\":0,\"month\":0,"
        "\"day\":0,\"hour\":0,\"minute\":0,\"second\":0,\"mediaDivision\":1,\"mediaDirection\":2,"
        "\"yyyymmddhhmiss\":\"00000000000000\",\"date\":\"\",\"time\":\"\",\"mediaGroupName\":\"motion_20191301_081500\"},"
        "{\"path\":\"" + d + "/A/alwa_20190312_081500_F.MP4\",\"fileName\":\"alwa_20190312_081500_F.MP4\","
        "\"mediaName\":\"alwa_20190312_081500_F\",\"extension\":\"MP4\",\"dir\":\"" + d + "/A\",\"year\":2019,\"month\":3,"
        "\"day\":12,\"hour\":8,\"minute\":15,\"second\":0,\"mediaDivision\":0,\"mediaDirection\":0,"
        "\"yyyymmddhhmiss\":\"20190312081500\",\"date\":\"2019-03-12\",\"time\":\"08:15:00\",\"mediaGroupName\":\"alwa_20190312_081500\"},"
        "{\"path\":\"" + d + "/A/alwa_20190312_081500_R.MP4\",\"fileName\":\"alwa_20190312_081500_R.MP4\","
        "\"mediaName\":\"alwa_20190312_081500_R\",\"extension\":\"MP4\",\"dir\":\"" + d + "/A\",\"year\":2019,\"month\":3,"
        "\"day\":12,\"hour\":8,\"minute\":15,\"second\":0,\"mediaDivision\":0,\"mediaDirection\":1,"
        "\"yyyymmddhhmiss\":\"20190312081500\",\"date\":\"2019-03-12\",\"time\":\"08:15:00\",\"mediaGroupName\":\"alwa_20190312_081500\"}"
        "],\"pairs\":{"
        "\"alwa_20190312_081500\":{\"front\":\"" + d + "/A/alwa_20190312_081500_F.MP4\",\"rear\":\"" + d + "/A/alwa_20190312_081500_R.MP4\"},"
        "\"motion_20191301_081500\":{\"front\":null,\"rear\":null}},\"unreadableDirectories\":[]}\n";
    EXPECT_EQ(run.out, expected);
}

TEST(ScanCommandTest, JsonStaysValidAndKeepsTheExactBytesOfNamesThatAreNotUtf8) {
    TempDir card;
    card.touch("caf\xe9/alwa_20190312_081500_F.MP4");
    card.touch("ok/alwa_20190312_081600_F.MP4");
    CliRun run = scan({card.str(), "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(isValidUtf8(run.out));
    const std::string d = card.str();
    const std::string shown = d + "/caf\xEF\xBF\xBD";
    for (const std::string& fragment : {
             "\"path\":\"" + shown + "/alwa_20190312_081500_F.MP4\",\"pathBytes\":\"" + d +
                 "/caf%E9/alwa_20190312_081500_F.MP4\",\"fileName\":\"alwa_20190312_081500_F.MP4\",\"mediaName\"",
             "\"dir\":\"" + shown + "\",\"dirBytes\":\"" + d + "/caf%E9\",\"year\":2019",
             "\"front\":\"" + shown + "/alwa_20190312_081500_F.MP4\",\"frontBytes\":\"" + d +
                 "/caf%E9/alwa_20190312_081500_F.MP4\",\"rear\":null",
             "\"path\":\"" + d + "/ok/alwa_20190312_081600_F.MP4\",\"fileName\"",
         }) {
        EXPECT_NE(run.out.find(fragment), std::string::npos) << fragment;
    }
    EXPECT_EQ(run.out.find("\xe9"), std::string::npos);
}

TEST(ScanCommandTest, RecordingsWhoseNamesDifferOnlyInBytesThatAreNotUtf8KeepTheirOwnPairs) {
    TempDir card;
    card.touch("alwa_2019\xff" "312_081500_F.MP4");
    card.touch("alwa_2019\xfe" "312_081500_F.MP4");
    CliRun run = scan({card.str(), "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_TRUE(isValidUtf8(run.out));
    const std::string pairs = run.out.substr(run.out.find("\"pairs\""));
    EXPECT_EQ(pairs, "\"pairs\":{\"alwa_2019%FE312_081500\":{\"front\":null,\"rear\":null},"
                     "\"alwa_2019%FF312_081500\":{\"front\":null,\"rear\":null}},\"unreadableDirectories\":[]}\n");
    EXPECT_NE(run.out.find("\"mediaGroupNameBytes\":\"alwa_2019%FF312_081500\""), std::string::npos);
}

TEST(ScanCommandTest, TheTableEscapesControlCharactersOfNames) {
    TempDir card;
    card.touch("two\nlines\x1b[2J/alwa_20190312_081500_F.MP4");
    CliRun run = scan({card.str()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "MODE    SIDE  DATE        TIME      FILE\n"
                       "alwa    front 2019-03-12  08:15:00  " + card.str() +
                           "/two\\nlines\\x1b[2J/alwa_20190312_081500_F.MP4\n"
                           "1 files, 1 recordings (0 with front and rear)\n");
}

TEST(ScanCommandTest, AnUnreadableFolderIsNamedWithItsReasonAndGivesStatus1) {
    TempDir card;
    ::chmod(card.str().c_str(), 0755);
    card.touch("open/alwa_20190312_081500_F.MP4");
    card.touch("locked/alwa_20190312_081600_F.MP4");
    ::chmod((card.path() / "open").c_str(), 0755);
    ::chmod((card.path() / "locked").c_str(), 0);
    const std::string outcome = test::runAsUnprivilegedUser([&] {
        CliRun table = scan({card.str()});
        CliRun json = scan({card.str(), "--json"});
        return std::to_string(table.status) + "|" + table.err + std::to_string(json.status) + "|" +
               json.out.substr(json.out.find("\"unreadableDirectories\""));
    });
    ::chmod((card.path() / "locked").c_str(), 0755);
    const std::string line = "zentrova-cli: scan: cannot read folder " + card.str() + "/locked: Permission denied\n";
    EXPECT_EQ(outcome, "1|" + line + "1|\"unreadableDirectories\":[{\"path\":\"" + card.str() +
                           "/locked\",\"reason\":\"Permission denied\"}]}\n");
}

TEST(ScanCommandTest, ErrorsAndHelp) {
    TempDir empty;
    struct Case {
        std::vector<std::string> args;
        int status;
        bool errorLine;
    } cases[] = {
        {{"/no/such/dir"}, kExitUsage, true},
        {{"/no/such/dir", "--json"}, kExitUsage, true},
        {{}, kExitUsage, true},
        {{empty.str(), "--bogus"}, kExitUsage, true},
        {{empty.str(), empty.str()}, kExitUsage, true},
        {{"--help"}, kExitOk, false},
        {{empty.str()}, kExitOk, false},
        {{empty.str(), "--json"}, kExitOk, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        CliRun run = scan(c.args);
        EXPECT_EQ(run.status, c.status);
        if (c.errorLine) {
            ASSERT_FALSE(run.err.empty());
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
        } else {
            EXPECT_EQ(run.err, "");
        }
    }
    EXPECT_EQ(scan({empty.str(), "--json"}).out, "{\"directory\":\"" + empty.str() + "\",\"medias\":[],\"pairs\":{},\"unreadableDirectories\":[]}\n");
}

TEST(ScanCommandTest, ExecutableAnswersVersionHelpAndMissingDirectory) {
    const std::string cli = std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli";
    struct Case {
        std::string args;
        int status;
    } cases[] = {{"--version", 0}, {"--help", 0}, {"scan /no/such/dir 2>/dev/null", 2}, {"nosuchcommand 2>/dev/null", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        int status = std::system((cli + " " + c.args + " >/dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
    }
}

}  // namespace
}  // namespace zentrova
