#include "cli/CliCommand.h"
#include "support/CliRun.h"
#include "support/FileText.h"
#include "cli/ExportCommand.h"
#include "cli/TelemetryCommand.h"
#include "recordings/ORVMediaList.h"
#include "telemetry/NMEAToDegrees.h"
#include "telemetry/ORVBlackBoxData.h"

#include "support/AsUnprivilegedUser.h"
#include "support/DriveSample.h"
#include "support/HeldOpenFifo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>

namespace zentrova {
namespace {
using test::TempDir;

using test::CliRun;

CliRun exportRun(std::vector<std::string> args) { return test::runCli(runExportCommand, args); }

CliRun telemetryRun(std::vector<std::string> args) { return test::runCli(runTelemetryCommand, args); }

void writeFile(const std::filesystem::path& path, const test::Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool haveGpsbabel() { return shell("command -v gpsbabel >/dev/null 2>&1") == 0; }

std::string cliPath() { return std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli"; }

// One point as gpsbabel's unicsv writes it: six decimals, "yyyy/mm/dd" and
// "hh:mm:ss[.mmm]".
struct CsvPoint {
    std::string latitude, longitude, date, time;
    bool operator==(const CsvPoint&) const = default;
};

std::ostream& operator<<(std::ostream& out, const CsvPoint& p) {
    return out << p.latitude << "," << p.longitude << " " << p.date << " " << p.time;
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ',')) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

// The rows of a unicsv file by column name.
std::vector<std::map<std::string, std::string>> readUnicsv(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto header = split(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto fields = split(line);
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) row[header[i]] = fields[i];
        rows.push_back(row);
    }
    return rows;
}

std::string sixDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// What a track must hold for the drive, worked out from the extractor's own
// fixes: the snapshot after each record with a sentence, the hemisphere
// applied as on the map, valid fixes only.
std::vector<CsvPoint> expectedPoints(const ORVBlackBoxData& data) {
    // Snapshots per record of the drive, from its sentences.
    // The last snapshot of each fix time; the fourth time's records 6 and 7 give one point.
    const std::size_t lastSnapshotOfPointRecords[] = {1, 3, 5, 9};
    std::vector<CsvPoint> points;
    for (std::size_t index : lastSnapshotOfPointRecords) {
        const ORVGpsData& fix = data.m_NMEAs.at(index);
        double latitude = std::fabs(fix.Latitude) * (fix.NS == 'N' ? 1 : -1);
        double longitude = std::fabs(fix.Longitude) * (fix.EW == 'E' ? 1 : -1);
        NMEAToDegrees(latitude, longitude, &latitude, &longitude);
        std::string time = twoDigits(fix.Now.wHour) + ":" + twoDigits(fix.Now.wMinute) + ":" + twoDigits(fix.Now.wSecond);
        if (fix.Now.wMilliseconds) time += "." + std::to_string(fix.Now.wMilliseconds);
        points.push_back({sixDecimals(latitude), sixDecimals(longitude),
                          std::to_string(fix.Now.wYear) + "/" + twoDigits(fix.Now.wMonth) + "/" + twoDigits(fix.Now.wDay),
                          time});
    }
    return points;
}

std::vector<CsvPoint> pointsOf(const std::vector<std::map<std::string, std::string>>& rows, bool timed) {
    std::vector<CsvPoint> points;
    for (const auto& row : rows) {
        const bool hasTime = row.count("Time") && !row.at("Time").empty();
        if (hasTime != timed) continue;
        points.push_back({row.at("Latitude"), row.at("Longitude"), hasTime ? row.at("Date") : "",
                          hasTime ? row.at("Time") : ""});
    }
    return points;
}

class GpsbabelTest : public testing::Test {
protected:
    void SetUp() override {
        if (!haveGpsbabel()) GTEST_SKIP() << "gpsbabel is not installed (scripts/setup.sh installs it)";
        m_recording = (m_dir.path() / "alwa_20240312_081500_F.MP4").string();
        writeFile(m_recording, test::driveFile().bytes);
        ASSERT_TRUE(m_data.ExtractStreamInformation(m_recording));
    }

    // Our file of the format read back by gpsbabel into unicsv rows.
    std::vector<std::map<std::string, std::string>> readBack(const std::string& format) {
        const std::string ours = (m_dir.path() / ("drive." + format)).string();
        const std::string csv = (m_dir.path() / (format + ".csv")).string();
        EXPECT_EQ(shell(cliPath() + " telemetry '" + m_recording + "' --" + format + " -o '" + ours + "'"), 0);
        EXPECT_EQ(shell("gpsbabel -t -i " + format + " -f '" + ours + "' -o unicsv,utc=0 -F '" + csv + "'"), 0);
        return readUnicsv(csv);
    }

    TempDir m_dir;
    std::string m_recording;
    ORVBlackBoxData m_data;
};

TEST_F(GpsbabelTest, GpxReadsBackWithTheSamePointsTimesSatellitesAndHdop) {
    const auto rows = readBack("gpx");
    const auto expected = expectedPoints(m_data);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(expected[1], (CsvPoint{"48.118335", "11.518333", "2024/03/12", "08:15:01.250"}));
    EXPECT_EQ(pointsOf(rows, true), expected);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].at("Satellites"), "8");
    EXPECT_EQ(rows[0].at("HDOP"), "0.90");
    EXPECT_EQ(rows[3].at("HDOP"), "2.00");
}

TEST_F(GpsbabelTest, KmlReadsBackAsTheRouteAndTheTimedTrack) {
    const auto rows = readBack("kml");
    auto expected = expectedPoints(m_data);
    EXPECT_EQ(pointsOf(rows, true), expected);
    for (CsvPoint& point : expected) point.date = point.time = "";
    EXPECT_EQ(pointsOf(rows, false), expected) << "the LineString";
    EXPECT_EQ(rows.size(), 8u);
}

TEST(TelemetryExportOptionsTest, FormatsOutputFileAndErrors) {
    TempDir dir;
    const std::string recording = (dir.path() / "alwa_20240312_081500_F.MP4").string();
    writeFile(recording, test::driveFile().bytes);
    const std::string empty = (dir.path() / "event_20240312_081500_F.MP4").string();
    writeFile(empty, test::Bytes(300, 0));

    CliRun gpx = telemetryRun({recording, "--gpx"});
    EXPECT_EQ(gpx.status, kExitOk);
    EXPECT_NE(gpx.out.find("<name>alwa_20240312_081500_F</name>"), std::string::npos);
    const std::string outPath = (dir.path() / "x.csv").string();
    CliRun csv = telemetryRun({"--csv", "-o", outPath, recording});
    EXPECT_EQ(csv.status, kExitOk);
    EXPECT_EQ(csv.out, "");
    EXPECT_EQ(test::fileText(outPath).substr(0, 7), "record,");

    struct Case {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{empty, "--kml"}, kExitFailure},
        {{recording, "--gpx", "--kml"}, kExitUsage},
        {{recording, "--gpx", "-o"}, kExitUsage},
        {{recording, "-x"}, kExitUsage},
        {{recording, "--csv", "-o", (dir.path() / "no/such/dir/x.csv").string()}, kExitFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        CliRun run = telemetryRun(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
}

// A card with recordings that have telemetry, one that has none, a rear
// file, and two recordings of the same name in different folders.
struct Card {
    TempDir dir;
    std::filesystem::path root = dir.path() / "card";

    Card() {
        const test::Bytes drive = test::driveFile().bytes;
        writeFile(root / "DCIM/100/alwa_20240312_081500_F.MP4", drive);
        writeFile(root / "DCIM/100/alwa_20240312_081500_R.MP4", drive);
        writeFile(root / "DCIM/100/event_20240312_081600_F.MP4", test::Bytes{'n', 'o', 't', ' ', 'm', 'p', '4'});
        writeFile(root / "DCIM/101/motion_20240312_081700_F.mp4", drive);
        writeFile(root / "DCIM/102/motion_20240312_081700_F.MP4", drive);
        writeFile(root / "DCIM/100/notes.txt", {});
    }
};

TEST(ExportCommandTest, EveryFrontRecordingInListOrderSkippingThoseWithoutTelemetry) {
    Card card;
    const std::filesystem::path out = card.dir.path() / "out/tracks";
    CliRun run = exportRun({card.root.string(), out.string(), "--gpx"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "exported 3 of 4 front recordings, 12 points, 1 without telemetry, 0 unreadable, 0 unreadable folders, 0 failures\n");

    std::vector<std::string> fronts;
    const auto list = ORVMediaList::scanDirectory(card.root.string());
    for (const auto& media : list->medias()) {
        if (media->isFrontMedia()) fronts.push_back(media->path());
    }
    std::vector<std::string> lines;
    std::stringstream progress(run.err);
    for (std::string line; std::getline(progress, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), fronts.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string prefix = "export: [" + std::to_string(i + 1) + "/4] " + fronts[i] + ": ";
        EXPECT_EQ(lines[i].substr(0, prefix.size()), prefix);
        if (fronts[i].find("event_") != std::string::npos) {
            EXPECT_EQ(lines[i].substr(prefix.size()), "no telemetry, skipped");
        } else {
            EXPECT_EQ(lines[i].substr(prefix.size(), 12), "4 points -> ");
        }
    }

    std::set<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(out)) written.insert(entry.path().filename().string());
    EXPECT_EQ(written, (std::set<std::string>{"alwa_20240312_081500_F.gpx", "motion_20240312_081700_F.gpx",
                                              "motion_20240312_081700_F-2.gpx"}));
    EXPECT_EQ(test::fileText(out / "alwa_20240312_081500_F.gpx"),
              telemetryRun({(card.root / "DCIM/100/alwa_20240312_081500_F.MP4").string(), "--gpx"}).out);
}

TEST(ExportCommandTest, CsvRowsAndAnEmptyCard) {
    Card card;
    CliRun run = exportRun({"--csv", card.root.string(), (card.dir.path() / "csv").string()});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "exported 3 of 4 front recordings, 24 rows, 1 without telemetry, 0 unreadable, 0 unreadable folders, 0 failures\n");

    TempDir empty;
    CliRun none = exportRun({empty.str(), (empty.path() / "out").string(), "--kml"});
    EXPECT_EQ(none.status, kExitOk);
    EXPECT_EQ(none.out, "exported 0 of 0 front recordings, 0 points, 0 without telemetry, 0 unreadable, 0 unreadable folders, 0 failures\n");
    EXPECT_EQ(none.err, "");
}

// Each is named with its reason, counted apart from the files without
// telemetry, and the status tells that not everything could be read.
TEST(ExportCommandTest, UnreadableRecordingsAndFoldersAreReportedApartFromThoseWithoutTelemetry) {
    Card card;
    const std::filesystem::path fifo = card.root / "DCIM/100/alwa_20240312_082000_F.MP4";
    const test::HeldOpenFifo heldOpen(fifo);
    ASSERT_TRUE(heldOpen.ok());
    const std::filesystem::path locked = card.root / "DCIM/101/motion_20240312_081700_F.mp4";
    const std::filesystem::path lockedFolder = card.root / "DCIM/103";
    writeFile(lockedFolder / "alwa_20240312_090000_F.MP4", test::driveFile().bytes);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(card.dir.path())) {
        if (entry.is_directory()) ::chmod(entry.path().c_str(), 0777);
    }
    ::chmod(card.dir.path().c_str(), 0777);
    ::chmod(locked.c_str(), 0);
    ::chmod(lockedFolder.c_str(), 0);
    const std::filesystem::path out = card.dir.path() / "out";
    const std::string outcome = test::runAsUnprivilegedUser([&] {
        CliRun run = exportRun({card.root.string(), out.string(), "--gpx"});
        return std::to_string(run.status) + "\n" + run.out + run.err;
    });
    ::chmod(lockedFolder.c_str(), 0755);
    std::vector<std::string> lines;
    std::stringstream text(outcome);
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 8u) << outcome;
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[1], "exported 2 of 5 front recordings, 8 points, 1 without telemetry, 2 unreadable, "
                        "1 unreadable folders, 0 failures");
    EXPECT_EQ(lines[2], "export: cannot read folder " + lockedFolder.string() + ": Permission denied, skipped");
    std::set<std::string> unreadable;
    for (const std::string& line : lines) {
        if (line.find("cannot be read") != std::string::npos) unreadable.insert(line.substr(line.find("] ") + 2));
    }
    EXPECT_EQ(unreadable, (std::set<std::string>{fifo.string() + ": cannot be read (not a regular file (a FIFO)), skipped",
                                                 locked.string() + ": cannot be read (Permission denied), skipped"}));
}

TEST(ExportCommandTest, AnOutputFileThatIsARecordingIsRefusedBeforeAnythingIsWritten) {
    Card card;
    const std::filesystem::path out = card.dir.path() / "out";
    std::filesystem::create_directories(out);
    const std::filesystem::path recording = card.root / "DCIM/101/motion_20240312_081700_F.mp4";
    const std::string original = test::fileText(recording);
    std::filesystem::create_symlink(recording, out / "motion_20240312_081700_F.gpx");
    CliRun run = exportRun({card.root.string(), out.string(), "--gpx"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "zentrova-cli: export: the output " + (out / "motion_20240312_081700_F.gpx").string() +
                           " is the recording " + recording.string() + " itself; nothing was written\n");
    EXPECT_EQ(test::fileText(recording), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out), {}), 1);

    // Beside the recordings themselves is fine: the names differ.
    CliRun beside = exportRun({card.root.string(), card.root.string(), "--csv"});
    EXPECT_EQ(beside.status, kExitOk) << beside.err;
    EXPECT_EQ(test::fileText(recording), original);
}

TEST(ExportCommandTest, ProgressLinesEscapeControlCharactersOfNames) {
    TempDir dir;
    writeFile(dir.path() / "card/a\nb\x1b[2J/alwa_20240312_081500_F.MP4", test::driveFile().bytes);
    const std::filesystem::path out = dir.path() / "out\x1b";
    CliRun run = exportRun({(dir.path() / "card").string(), out.string(), "--gpx"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "export: [1/1] " + dir.str() + "/card/a\\nb\\x1b[2J/alwa_20240312_081500_F.MP4: 4 points -> " +
                           dir.str() + "/out\\x1b/alwa_20240312_081500_F.gpx\n");
}

TEST(ExportCommandTest, UsageErrorsAndHelp) {
    Card card;
    const std::string in = card.root.string();
    const std::string out = (card.dir.path() / "out").string();
    const std::string file = (card.root / "DCIM/100/notes.txt").string();
    struct Case {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{}, kExitUsage},
        {{in, "--gpx"}, kExitUsage},
        {{in, out}, kExitUsage},
        {{in, out, "--gpx", "--csv"}, kExitUsage},
        {{in, out, out, "--gpx"}, kExitUsage},
        {{in, out, "--json"}, kExitUsage},
        {{(card.dir.path() / "missing").string(), out, "--gpx"}, kExitUsage},
        {{in, file, "--gpx"}, kExitFailure},
        {{in, "", "--gpx"}, kExitUsage},
        {{file, out, "--gpx"}, kExitUsage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        CliRun run = exportRun(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
    }
    CliRun help = exportRun({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_EQ(help.out.substr(0, 7), "usage: ");
    EXPECT_EQ(shell(cliPath() + " export --help >/dev/null"), 0);
    EXPECT_EQ(shell(cliPath() + " export 2>/dev/null"), kExitUsage);
}

}  // namespace
}  // namespace zentrova
