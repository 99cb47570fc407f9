#include "support/FileText.h"
#include "support/ShellStatus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

struct GeneratorRun {
    int exitCode = -1;
    std::string output;
    std::string errorOutput;
};

// The generator as a user runs it, with both of its outputs.
GeneratorRun generate(const std::vector<std::string>& args) {
    const test::TempDir logs;
    std::string command = "'" + std::string(ZENTROVA_BIN_DIR) + "/zentrova-samplecard'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " >'" + (logs.path() / "out").string() + "' 2>'" + (logs.path() / "err").string() + "'";
    const int status = test::shellStatus(command);
    return {status, test::fileText(logs.path() / "out"), test::fileText(logs.path() / "err")};
}

TEST(SampleCardOptionsTest, BadFaultOptionsAreRefused) {
    test::TempDir dir;
    const std::string out = (dir.path() / "card").string();
    const std::vector<std::vector<std::string>> cases = {
        {"--cut-off", "0", out},       {"--cut-off", "2X", out},      {"--empty", "", out},
        {"--gap", "-5", out},          {"--time-zone", "34", out},    {"--summer-time", "2", out},
        {"--clock-offset", "1h", out}, {"--cut-off"},                 {"--wrong-checksum", "--nonsense", out},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.front() + " " + (args.size() > 1 ? args[1] : ""));
        const GeneratorRun run = generate(args);
        EXPECT_EQ(run.exitCode, 2) << run.errorOutput;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(SampleCardOptionsTest, FaultsAreMadeAndToldAndARecordingBeyondTheCardIsAnError) {
    test::TempDir dir;
    const std::string out = (dir.path() / "card").string();
    const GeneratorRun run = generate({"--size", "32x18", "--duration", "2", "--count", "2", "--cut-off", "1",
                                        "--empty", "2R", "--wrong-checksum", out});
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    const fs::path cut = fs::path(out) / "Normal" / "alwa_20240614_093000_F.MP4";
    const fs::path rear = fs::path(out) / "Event" / "event_20240614_093002_R.MP4";
    EXPECT_GT(fs::file_size(cut), 0u);
    EXPECT_EQ(fs::file_size(rear), 0u);
    EXPECT_NE(run.output.find("cut off: " + cut.string()), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("emptied: " + rear.string()), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("wrong checksum: "), std::string::npos) << run.output;

    const GeneratorRun beyond = generate({"--size", "32x18", "--duration", "1", "--count", "1", "--empty", "99",
                                           (dir.path() / "other").string()});
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_NE(beyond.errorOutput.find("there is no recording 99"), std::string::npos) << beyond.errorOutput;
}

}  // namespace
}  // namespace zentrova
