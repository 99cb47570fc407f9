#include "cli/CliCommand.h"
#include "support/CliRun.h"
#include "cli/TelemetryCommand.h"

#include "support/AsUnprivilegedUser.h"
#include "support/FileText.h"
#include "support/HeldOpenFifo.h"
#include "support/Mp4TelemetryBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>

namespace zentrova {
namespace {
using test::TempDir;

using test::CliRun;

CliRun telemetry(std::vector<std::string> args) { return test::runCli(runTelemetryCommand, args); }

std::string writeFile(const TempDir& dir, const std::string& name, const test::Bytes& bytes) {
    const std::string path = (dir.path() / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string sampleRecording(const TempDir& dir) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.records = {
        {1552378500, 0, -256, 384, 1, 5, '9',
         "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
         "$GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9*47\r\n",
         0},
        {1552378501, 0, 2147483647, 0, -1, 0, '1', "$GNGSA,A,3,70*00", 0},  // ended by the NUL padding
    };
    return writeFile(dir, "alwa_20190312_081500_F.MP4", builder.build().bytes);
}

std::string emptyChannels() {
    std::string text = "\"SVonChannel\":[";
    for (int i = 0; i < 12; ++i) text += i ? ",[0,0]" : "[0,0]";
    return text + "],\"SatelliteUsed\":[0,0,0,0,0,0,0,0,0,0,0,0],";
}

TEST(TelemetryCommandTest, JsonHasEveryListWithExactNumbers) {
    TempDir dir;
    CliRun run = telemetry({sampleRecording(dir), "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::string expected =
        "{\"ok\":true,\"frameCount\":1,\"m_Times\":[1552378500,1552378501],"
        "\"m_vGSensorData\":[[-256,384,1,5],[2147483647,0,-1,0]],"
        "\"m_GSensors\":[[-1,1.5,0.00390625],[8388608,0,-0.00390625]],"
        "\"gpsUnits\":[57,49],\"m_NMEAs\":["
        "{" + emptyChannels() +
        "\"NS\":\"N\",\"EW\":\"E\",\"Enable_GNGNS\":0,\"Enable_GNGSA\":0,\"Cnt_GNGSA\":0,\"gpsValid\":1,"
        "\"SatelliteCount\":0,\"SatelliteUsedCount\":0,\"SatelliteUsedCount_GPS\":0,\"SatelliteUsedCount_GLONASS\":0,"
        "\"PDOP\":0,\"HDOP\":0,\"VDOP\":0,\"Latitude\":0,\"Longitude\":0,"
        "\"SpeedOverGround\":22.399999618530273,\"CourseOverGround\":84.4000015258789,"
        "\"Now\":[2094,3,0,23,12,35,19,0]},"
        "{" + emptyChannels() +
        "\"NS\":\"S\",\"EW\":\"W\",\"Enable_GNGNS\":0,\"Enable_GNGSA\":0,\"Cnt_GNGSA\":0,\"gpsValid\":1,"
        "\"SatelliteCount\":0,\"SatelliteUsedCount\":8,\"SatelliteUsedCount_GPS\":0,\"SatelliteUsedCount_GLONASS\":0,"
        "\"PDOP\":0,\"HDOP\":0.8999999761581421,\"VDOP\":0,\"Latitude\":4807.0380859375,\"Longitude\":1131,"
        "\"SpeedOverGround\":22.399999618530273,\"CourseOverGround\":84.4000015258789,"
        "\"Now\":[2094,3,0,23,12,35,19,0]},"
        "{\"SVonChannel\":[[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0],[0,0]],"
        "\"SatelliteUsed\":[70,0,0,0,0,0,0,0,0,0,0,0],"
        "\"NS\":\"S\",\"EW\":\"W\",\"Enable_GNGNS\":0,\"Enable_GNGSA\":1,\"Cnt_GNGSA\":0,\"gpsValid\":1,"
        "\"SatelliteCount\":0,\"SatelliteUsedCount\":1,\"SatelliteUsedCount_GPS\":0,\"SatelliteUsedCount_GLONASS\":1,"
        "\"PDOP\":0,\"HDOP\":0.8999999761581421,\"VDOP\":0,\"Latitude\":4807.0380859375,\"Longitude\":1131,"
        "\"SpeedOverGround\":22.399999618530273,\"CourseOverGround\":84.4000015258789,"
        "\"Now\":[2094,3,0,23,12,35,19,0]}"
        "]}\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");
}

TEST(TelemetryCommandTest, FileWithoutTelemetryGivesOkFalseAndEmptyLists) {
    TempDir dir;
    const std::string path = writeFile(dir, "notes.mp4", test::Bytes{'h', 'e', 'l', 'l', 'o'});
    CliRun run = telemetry({"--json", path});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out,
              "{\"ok\":false,\"frameCount\":1,\"m_Times\":[],\"m_vGSensorData\":[],\"m_GSensors\":[],"
              "\"gpsUnits\":[],\"m_NMEAs\":[]}\n");
    CliRun text = telemetry({path});
    EXPECT_EQ(text.out, "no telemetry (not laid out as the camera writes it): 0 records, 0 NMEA sentences, frameCount 1\n");
}

TEST(TelemetryCommandTest, HemisphereBytesAboveAsciiStayValidJson) {
    TempDir dir;
    test::Mp4TelemetryBuilder builder;
    builder.records = {{1, 0, 0, 0, 0, 0, '9', "$GPGGA,1,4807.038,\xC3\x9C,01131.000,E*00\n", 0}};
    CliRun run = telemetry({writeFile(dir, "a_F.mp4", builder.build().bytes), "--json"});
    EXPECT_NE(run.out.find("\"NS\":\"\xC3\x83\""), std::string::npos) << run.out;
}

TEST(TelemetryCommandTest, ErrorsAndHelp) {
    TempDir dir;
    const std::string file = sampleRecording(dir);
    struct Case {
        std::vector<std::string> args;
        int status;
        bool errorLine;
    } cases[] = {
        {{}, kExitUsage, true},
        {{"/no/such/file.mp4", "--json"}, kExitUsage, true},
        {{dir.str()}, kExitUsage, true},
        {{file, "--gpx2"}, kExitUsage, true},
        {{file, file}, kExitUsage, true},
        {{"--help"}, kExitOk, false},
        {{file}, kExitOk, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        CliRun run = telemetry(c.args);
        EXPECT_EQ(run.status, c.status);
        if (c.errorLine) {
            ASSERT_FALSE(run.err.empty());
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
        } else {
            EXPECT_EQ(run.err, "");
            EXPECT_FALSE(run.out.empty());
        }
    }
    EXPECT_EQ(telemetry({file}).out, "telemetry found: 2 records, 3 NMEA sentences, frameCount 1\n");
}

// One line naming the file and the system's reason, never "no telemetry".
TEST(TelemetryCommandTest, InputsThatAreNotReadableRegularFilesAreRefusedWithTheReason) {
    TempDir dir;
    ::chmod(dir.str().c_str(), 0755);
    const std::string fifo = (dir.path() / "alwa_20190312_081600_F.MP4").string();
    const test::HeldOpenFifo heldOpen(fifo);
    ASSERT_TRUE(heldOpen.ok());
    const std::string loop = (dir.path() / "loop_F.MP4").string();
    std::filesystem::create_symlink("loop_F.MP4", loop);
    const std::string locked = sampleRecording(dir);
    ::chmod(locked.c_str(), 0);
    struct Case {
        std::string path;
        std::string reason;
    } cases[] = {
        {fifo, "not a regular file (a FIFO)"},
        {"/dev/zero", "not a regular file (a character device)"},
        {loop, "Too many levels of symbolic links"},
        {dir.str() + "/missing_F.MP4", "No such file or directory"},
        {dir.str(), "is a directory"},
        {locked, "Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string outcome = test::runAsUnprivilegedUser([&] {
            CliRun run = telemetry({c.path, "--json"});
            return std::to_string(run.status) + "|" + run.out + "|" + run.err;
        });
        EXPECT_EQ(outcome, "2||zentrova-cli: telemetry: cannot read " + c.path + ": " + c.reason + "\n");
    }
}

TEST(TelemetryCommandTest, AnOutputThatIsTheInputIsRefusedAndTheInputKept) {
    TempDir dir;
    const std::string file = sampleRecording(dir);
    const std::string original = test::fileText(file);
    std::filesystem::create_symlink(file, dir.path() / "link.gpx");
    std::filesystem::create_hard_link(file, dir.path() / "hard.gpx");
    for (const std::string& out :
         {file, (dir.path() / "link.gpx").string(), (dir.path() / "hard.gpx").string(), dir.str() + "/./" +
                                                                                         "alwa_20190312_081500_F.MP4"}) {
        SCOPED_TRACE(out);
        CliRun run = telemetry({file, "--gpx", "-o", out});
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.err, "zentrova-cli: telemetry: the output " + out + " is the input file " + file +
                               " itself; writing it would destroy the input\n");
        EXPECT_EQ(test::fileText(file), original);
    }
    CliRun empty = telemetry({file, "--gpx", "-o", ""});
    EXPECT_EQ(empty.status, kExitUsage);
    EXPECT_EQ(empty.err, "zentrova-cli: telemetry: the output file name is empty\n");
}

TEST(TelemetryCommandTest, ExecutablePrintsTheSameJsonAndNothingElse) {
    TempDir dir;
    const std::string file = sampleRecording(dir);
    const std::string cli = std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli";
    const std::string outPath = (dir.path() / "out.json").string();
    const std::string errPath = (dir.path() / "err.txt").string();
    int status = std::system((cli + " telemetry '" + file + "' --json >'" + outPath + "' 2>'" + errPath + "'").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::stringstream out, err;
    out << std::ifstream(outPath).rdbuf();
    err << std::ifstream(errPath).rdbuf();
    EXPECT_EQ(out.str(), telemetry({file, "--json"}).out);
    EXPECT_EQ(err.str(), "");
    status = std::system((cli + " telemetry /no/such/file.mp4 2>/dev/null").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace zentrova
