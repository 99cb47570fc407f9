#include "cli/CliCommand.h"
#include "support/CliRun.h"
#include "support/FileText.h"
#include "cli/DrvCommand.h"

#include "records/DrvFileBuilder.h"
#include "records/FlashDataFile.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

using test::CliRun;

CliRun drv(std::vector<std::string> args) { return test::runCli(runDrvCommand, args); }

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Two records that differ in every shown column.
std::string twoRecordFile() {
    test::DrvRecordBytes first = test::sampleDrvRecord(17);
    test::DrvRecordBytes second;
    second.u16(0, 18).u8(2, 7).u8(3, 2).u8(4, 126).u8(5, 12).u8(6, 5).u8(7, 7).u8(8, 3).u8(9, 9);
    second.s16(32, -64).s16(34, 0).s16(36, 256).s16(38, 95).u32(20, 7);
    return test::drvFileBytes(2, first.bytes + second.bytes);
}

const std::string kTwoRecordCsv =
    "No.,Seq.,Date,Time,Day,Latitude,Longitude,Distance,Speed,Max Speed,Status,X,Y,Z,Battery (V)\n"
    "1,17,2023/07/09,08:05:03,THU,3731.0512,12658.0007,12345.6,88,130,A,+1.00,-0.25,+0.00,12.6\n"
    "2,18,2026/12/05,07:03:09,-,0000.0000,00000.0000,0.7,0,0,F,-0.25,+0.00,+1.00, 9.5\n";

TEST(DrvCommandTest, CsvOfTheRecordsWithEnglishTitles) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    fs::path csv = dir.path() / "out.csv";
    CliRun run = drv({file.string(), "--csv", csv.string()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(test::fileText(csv), kTwoRecordCsv);
}

TEST(DrvCommandTest, CsvOverALongerFileLeavesNoOldBytes) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    fs::path csv = dir.touch("out.csv", std::string(4096, '#') + "\n");
    ASSERT_EQ(drv({file.string(), "--csv", csv.string()}).status, kExitOk);
    EXPECT_EQ(test::fileText(csv), kTwoRecordCsv);
}

TEST(DrvCommandTest, TableOnStandardOutput) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    CliRun run = drv({file.string()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "No.  Seq.        Date      Time  Day   Latitude   Longitude  Distance  Speed  Max Speed  Status      X  "
              "    Y      Z  Battery (V)\n"
              "  1    17  2023/07/09  08:05:03  THU  3731.0512  12658.0007   12345.6     88        130       A  +1.00  "
              "-0.25  +0.00         12.6\n"
              "  2    18  2026/12/05  07:03:09    -  0000.0000  00000.0000       0.7      0          0       F  -0.25  "
              "+0.00  +1.00          9.5\n");
}

TEST(DrvCommandTest, CountsOfRecords) {
    TempDir dir;
    const std::string three = test::sampleDrvRecord(1).bytes + test::sampleDrvRecord(2).bytes +
                              test::sampleDrvRecord(3).bytes;
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t rows;
        bool note;
    } cases[] = {
        {"N = 0", test::drvFileBytes(0, ""), 0, false},
        {"N = 3", test::drvFileBytes(3, three), 3, false},
        {"a short file", test::drvFileBytes(3, three.substr(0, 100)), 2, true},
        {"a huge N", test::drvFileBytes(0xFFFFFFFFu, three), 3, true},
        {"shorter than its header", test::drvFileBytes(5, "").substr(0, 7), 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::path file = dir.touch("log.drv", c.bytes);
        fs::path csv = dir.path() / "log.csv";
        CliRun run = drv({file.string(), "--csv", csv.string()});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_EQ(lineCount(test::fileText(csv)), 1 + c.rows);
        EXPECT_EQ(run.err.empty(), !c.note) << run.err;
        EXPECT_EQ(lineCount(run.err), c.note ? 1u : 0u);
        CliRun table = drv({file.string()});
        EXPECT_EQ(lineCount(table.out), 1 + c.rows);
    }
}

TEST(DrvCommandTest, MoreRecordsThanOneReadingTakesAreRefusedWithStatus1) {
    TempDir dir;
    fs::path file = dir.touch("huge.drv", test::drvFileBytes(0xFFFFFFFFu, test::sampleDrvRecord(1).bytes));
    fs::resize_file(file, FlashDataFile::kHeaderSize + (FlashDataFile::kMostRecords + 1) * 40);
    fs::path csv = dir.touch("kept.csv", "old\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{file.string()},
                                                 std::vector<std::string>{file.string(), "--csv", csv.string()}}) {
        SCOPED_TRACE(args.size());
        CliRun run = drv(args);
        EXPECT_EQ(run.status, kExitFailure);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "zentrova-cli: drv: " + file.string() +
                               ": too many records: the header promises 4294967295, more than the 1048576 that one "
                               "reading takes\n");
    }
    EXPECT_EQ(test::fileText(csv), "old\n");
}

TEST(DrvCommandTest, BadArgumentsAreOneLineAndStatus2) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    fs::path folder = dir.mkdir("folder.drv");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {file.string(), "--csv"},
        {file.string(), "--json"},
        {file.string(), file.string()},
        {(dir.path() / "missing.drv").string()},
        {folder.string()},
        {"--csv", (dir.path() / "x.csv").string()},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.empty() ? "no arguments" : args.back());
        CliRun run = drv(args);
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_TRUE(run.err.starts_with("zentrova-cli: drv: ")) << run.err;
    }
}

TEST(DrvCommandTest, ACsvOverTheDriveLogIsRefusedAndTheLogKept) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    fs::create_symlink(file, dir.path() / "link.csv");
    fs::create_hard_link(file, dir.path() / "hard.csv");
    for (const fs::path& out : {file, dir.path() / "link.csv", dir.path() / "hard.csv"}) {
        SCOPED_TRACE(out.string());
        CliRun run = drv({file.string(), "--csv", out.string()});
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_NE(run.err.find("is the input file " + file.string() + " itself"), std::string::npos) << run.err;
        EXPECT_EQ(test::fileText(file), twoRecordFile());
    }
}

TEST(DrvCommandTest, AnUnwritableCsvIsStatus1) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    fs::path folder = dir.mkdir("locked");
    ::chmod(dir.str().c_str(), 0755);
    ::chmod(file.c_str(), 0644);
    ::chmod(folder.c_str(), 0555);
    std::string outcome = test::runAsUnprivilegedUser([&] {
        CliRun run = drv({file.string(), "--csv", (folder / "out.csv").string()});
        return std::to_string(run.status) + "|" + run.err;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(outcome, "1|zentrova-cli: drv: cannot write " + (folder / "out.csv").string() + ": Permission denied\n");
}

TEST(DrvCommandTest, HelpAndTheRealProgram) {
    CliRun help = drv({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_TRUE(help.out.starts_with("usage: zentrova-cli drv FILE [--csv OUT]\n"));

    TempDir dir;
    fs::path file = dir.touch("zentrova_000.drv", twoRecordFile());
    const std::string cli = std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli";
    const std::string csv = (dir.path() / "out.csv").string();
    struct Case {
        std::string args;
        int status;
    } cases[] = {{"drv --help", 0}, {"drv " + file.string(), 0}, {"drv " + file.string() + " --csv " + csv, 0},
                 {"drv 2>/dev/null", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        int status = std::system((cli + " " + c.args + " >/dev/null").c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
    }
    EXPECT_EQ(test::fileText(csv), kTwoRecordCsv);
}

}  // namespace
}  // namespace zentrova
