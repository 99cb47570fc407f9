#include "cli/CliCommand.h"
#include "cli/IncidentCommand.h"

#include "support/CliRun.h"
#include "support/GeneratedCard.h"
#include "support/FileText.h"
#include "support/ShellStatus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::CliRun;

CliRun incident(const std::vector<std::string>& args) { return test::runCli(runIncidentCommand, args); }

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The number after "key": in the JSON text.
double numberAfter(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return 1e300;
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

class IncidentCommandTest : public testing::Test {
protected:
    static samplecard::SampleCardOptions cardOptions() {
        samplecard::SampleCardOptions options = test::GeneratedCard::defaults();
        options.durationSeconds = 5;
        options.faults.clockOffsetSeconds = -42;
        return options;
    }
    const samplecard::SampleRecording& firstEvent() const {
        for (const auto& recording : m_card.card().recordings) {
            if (recording.mode == samplecard::RecordingMode::Event) return recording;
        }
        return m_card.card().recordings.front();
    }

    test::GeneratedCard m_card{cardOptions()};
    test::TempDir m_out;
};

TEST_F(IncidentCommandTest, PackageOfARecordingVerifiesAndReadsBack) {
    ASSERT_TRUE(m_card.result.card) << m_card.result.error;
    const samplecard::SampleRecording& event = firstEvent();
    // Asked by its rear file; the front file is found beside it.
    const CliRun run = incident({event.rearPath, m_out.str()});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const fs::path package = m_out.path() / (event.groupName + "-incident");
    EXPECT_EQ(run.out.rfind(package.string() + ": 8 files, ", 0), 0u) << run.out;

    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(package)) names.insert(entry.path().filename().string());
    const std::string front = fs::path(event.frontPath).filename().string();
    const std::string rear = fs::path(event.rearPath).filename().string();
    EXPECT_EQ(names, (std::set<std::string>{front, rear, "route.gpx", "route.kml", "telemetry.csv", "summary.json",
                                            "summary.html", "SHA256SUMS"}));
    EXPECT_EQ(test::fileText(package / front), test::fileText(event.frontPath));
    EXPECT_EQ(test::fileText(package / rear), test::fileText(event.rearPath));
    EXPECT_EQ(test::shellStatus("cd '" + package.string() + "' && sha256sum --quiet -c SHA256SUMS"), 0);
    EXPECT_EQ(countOf(test::fileText(package / "SHA256SUMS"), "\n"), 7u);

    const std::string json = test::fileText(package / "summary.json");
    const std::size_t fixes = static_cast<std::size_t>(numberAfter(json, "validFixes"));
    EXPECT_GE(fixes, 4u);
    EXPECT_LE(fixes, 5u);
    if (test::shellStatus("command -v gpsbabel >/dev/null 2>&1") == 0) {
        const std::string csv = (m_out.path() / "route.csv").string();
        ASSERT_EQ(test::shellStatus("gpsbabel -t -i gpx -f '" + (package / "route.gpx").string() + "' -o unicsv,utc=0 -F '" + csv +
                        "'"),
                  0);
        EXPECT_EQ(countOf(test::fileText(csv), "\n"), fixes + 1) << "a header and one row per fix";
        EXPECT_EQ(test::shellStatus("gpsbabel -i kml -f '" + (package / "route.kml").string() + "' -o unicsv -F /dev/null"), 0);
    } else {
        std::cout << "[ NOTE     ] gpsbabel is not installed (scripts/setup.sh installs it)\n";
    }

    // The camera's clock is 42 s behind GPS on this card.
    char nameTime[96];
    std::snprintf(nameTime, sizeof nameTime, "\"date\":\"%04d-%02d-%02d\",\"time\":\"%02d:%02d:%02d\"", event.start.year,
                  event.start.month, event.start.day, event.start.hour, event.start.minute, event.start.second);
    EXPECT_NE(json.find(std::string("\"byFileName\":{") + nameTime), std::string::npos) << json;
    EXPECT_NEAR(numberAfter(json, "recordingDifferenceSeconds"), -42.0, 0.5);
    EXPECT_NEAR(numberAfter(json, "cardMedianSeconds"), -42.0, 0.5);
    EXPECT_NE(json.find("\"cardVerdict\":\"cameraClock\""), std::string::npos);
    EXPECT_NE(json.find("\"timeGmt\":15,\"summerTime\":true"), std::string::npos);
    // The knock comes 40 % into the event's ten records a second.
    EXPECT_NEAR(numberAfter(json, "record"), 0.4 * 50, 3);
    EXPECT_GT(numberAfter(json, "g"), 2.0);
    EXPECT_GT(numberAfter(json, "kilometresPerHour"), 5.0);
    EXPECT_NE(json.find("\"start\":{\"latitude\":47."), std::string::npos);

    const std::string html = test::fileText(package / "summary.html");
    EXPECT_NE(html.find(event.groupName), std::string::npos);
    EXPECT_EQ(html.find("incident."), std::string::npos) << "a key without a text";
    EXPECT_NE(html.find("sha256sum -c SHA256SUMS"), std::string::npos);
}

TEST_F(IncidentCommandTest, WrongArgumentsAndTargetsThatCannotBeUsed) {
    ASSERT_TRUE(m_card.result.card) << m_card.result.error;
    const std::string recording = m_card.card().recordings.front().frontPath;
    const fs::path existing = m_out.mkdir("taken");
    m_out.touch("taken/keep.txt", "mine");
    const std::string notRecording = m_out.touch("notes.mp4", "x").string();
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {"one argument", {recording}, kExitUsage},
        {"an unknown option", {recording, m_out.str(), "--zip"}, kExitUsage},
        {"a file that is not there", {recording + ".gone", m_out.str()}, kExitUsage},
        {"a file not named like a recording", {notRecording, m_out.str()}, kExitUsage},
        {"a folder for the file", {m_card.root(), m_out.str()}, kExitUsage},
        {"a target whose folder is missing", {recording, (m_out.path() / "no" / "such").string()}, kExitFailure},
        {"a target that is a file", {recording, notRecording + "/package"}, kExitFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = incident(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // Into an existing folder the package goes as a new folder; a second time it is refused.
    ASSERT_EQ(incident({recording, existing.string()}).status, kExitOk);
    const CliRun again = incident({recording, existing.string()});
    EXPECT_EQ(again.status, kExitFailure);
    EXPECT_NE(again.err.find("already there"), std::string::npos) << again.err;
    EXPECT_EQ(test::fileText(existing / "keep.txt"), "mine");
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(m_out.path())) {
        ++entries;
        EXPECT_NE(entry.path().filename().string().front(), '.') << "a hidden half-written folder was left";
    }
    EXPECT_EQ(entries, 2u);
}

}  // namespace
}  // namespace zentrova
