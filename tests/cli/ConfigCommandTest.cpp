#include "cli/CliCommand.h"
#include "support/CliRun.h"
#include "support/FileText.h"
#include "cli/ConfigCommand.h"
#include "settings/FILEDATA.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

using test::CliRun;

CliRun config(std::vector<std::string> args) { return test::runCli(runConfigCommand, args); }

// The factory record as the JSON of config show, written out by hand.
const std::string kResetJson =
    "{\"size\":500,\"valid\":true,\"checksumComputed\":14914,\"fields\":{\"cfg_ver\":22310,\"checksum\":0,"
    "\"disp_segment_mode\":1,\"sd_mem_always_ratio\":70,\"sd_mem_event_ratio\":10,\"sd_mem_motion_ratio\":20,"
    "\"sd_mem_always_reserved\":12000,\"sd_mem_event_reserved\":0,\"sd_mem_motion_reserved\":0,"
    "\"aud_enable\":3,\"aud_codec_type\":0,\"aud_sampling_freq\":1,\"aud_bitrate\":1,\"aud_input_vol\":3,"
    "\"aud_output_vol\":2,\"vid_enc_res\":0,\"vid_enc_bitrate\":1,\"vid_framerate\":0,\"vid_brightness\":2,"
    "\"vid_contrast\":2,\"vid_saturation\":128,\"vid_sharpness\":2,\"vid_hue\":2,\"gsen_x_threshold\":50,"
    "\"gsen_y_threshold\":45,\"gsen_z_threshold\":45,\"always_mode_timeout\":10,\"parkmode_x_threshold\":8,"
    "\"parkmode_y_threshold\":8,\"parkmode_z_threshold\":8,\"motion1080pCValue\":3,\"motion720pCValue\":3,"
    "\"motionBlock\":96,\"high_temp_threshold\":97,\"high_temp_duration\":3600,\"safe_temp_threshold\":92,"
    "\"safe_temp_duration\":60,\"composite_mode\":0,\"osd_option\":1,\"osd_speed_flag\":1,\"osd_plate_flag\":0,"
    "\"plate_number\":0,\"speed_disp_unit\":0,\"time_gmt\":28,\"summer_time\":0,\"nodriving_day\":0,"
    "\"auto_drive_in_mode_on\":1,\"auto_park_in_mode_on\":1,\"motion_detect_mode_on\":1,"
    "\"event_only_mode_on\":0,\"g_sensor_enable\":1,\"audio_mux_enable\":1,\"safe_temp_mode_on\":1,"
    "\"alarm_ontime_flag\":1,\"voiceEnable\":1,\"drivingSecurity\":60,\"parkingSecurity\":20,"
    "\"SaveDuration\":7,\"MemConfig\":176,\"BrightnessFixed\":3000,\"DayTime\":1,\"NightTime\":0,"
    "\"Brightness1\":1,\"ledoff\":0,\"Gamma\":0,\"szPlateNumber\":[90,101,110,116,114,111,118,97],"
    "\"vid_enc_bitrate_R\":1,\"vid_brightness_R\":2,\"vid_sharpness_R\":2,\"lcd_autopoweroff\":2,"
    "\"lcd_brightness\":1,\"lcd_screensaver\":0,\"parking_rear_off\":0,\"sd2_mem_always_ratio\":1,"
    "\"sd2_mem_event_ratio\":98,\"sd2_mem_motion_ratio\":1,\"flip_video\":0,\"parking_alarm\":1,\"rear_fps\":0,"
    "\"motion_zone\":0,\"motionBlock_Rear\":96,\"ledoff_rear\":0,\"always_mode_recording_time\":1,"
    "\"pip_position\":0,\"always_motion\":0,\"lcd_brightness_night\":1,\"size_rear\":0,\"front_cpl_use\":0,"
    "\"rear_cpl_use\":0,\"wifi_ssid\":[90,101,110,116,114,111,118,97,0,0,0,0,0,0,0,0],"
    "\"wifi_password\":[52,56,50,48,51,53,49,55,0,0,0,0,0,0,0,0],\"CableVoltCorr\":4,\"autoFormatAlarm\":2,"
    "\"ADAS_Car\":0,\"ADAS_Ldws_Speed\":30,\"ADAS_FCWS_Speed\":30,\"ADAS_FCMD_Enable\":1,\"ADAS_LDWS_Sens\":2,"
    "\"ADAS_FCWS_Sens\":2,\"ADAS_FCMD_Sens\":2,\"dummy1\":0,\"vide_wdr_enable\":1,\"ParkingMode\":0,"
    "\"En_SuperNightVision\":0,\"wifi_channel\":0,\"dummy00\":[0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0],"
    "\"debug_mode\":1}}";

TEST(ConfigCommandTest, ResetWritesTheFactoryRecordAndShowListsIt) {
    TempDir dir;
    const std::string file = (dir.path() / "config.bin").string();
    CliRun reset = config({"reset", file});
    ASSERT_EQ(reset.status, kExitOk) << reset.err;
    EXPECT_EQ(test::fileText(file).size(), 500u);
    CliRun show = config({"show", file, "--json"});
    ASSERT_EQ(show.status, kExitOk) << show.err;
    EXPECT_EQ(show.out, kResetJson + "\n");
}

TEST(ConfigCommandTest, ShowGivesSignedNumbersAndBytes) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", std::string(500, '\xFF'));
    CliRun run = config({"show", file.string(), "--json"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    for (std::string part : {"{\"size\":500,\"valid\":true,\"checksumComputed\":0,", "\"cfg_ver\":65535,",
                             "\"checksum\":65535,", "\"gsen_x_threshold\":-1,", "\"aud_enable\":4294967295,",
                             "\"szPlateNumber\":[255,255,255,255,255,255,255,255],", "\"ADAS_Car\":255,",
                             "\"time_gmt\":-1,", "\"debug_mode\":4294967295}}\n"}) {
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
    }
}

TEST(ConfigCommandTest, ShowOfAFileOfAnotherSizeGivesTheResetValues) {
    TempDir dir;
    for (std::size_t size : {499, 501, 0}) {
        SCOPED_TRACE(size);
        fs::path file = dir.touch("config.bin", std::string(size, '\x11'));
        CliRun run = config({"show", file.string(), "--json"});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        std::string expected = kResetJson;
        expected.replace(0, std::string("{\"size\":500,\"valid\":true").size(),
                         "{\"size\":" + std::to_string(size) + ",\"valid\":false");
        EXPECT_EQ(run.out, expected + "\n");
    }
}

TEST(ConfigCommandTest, ShowListsEveryFieldWithItsPage) {
    TempDir dir;
    const std::string file = (dir.path() / "config.bin").string();
    ASSERT_EQ(config({"reset", file}).status, kExitOk);
    CliRun run = config({"show", file});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("500 bytes, a settings record"), std::string::npos);
    EXPECT_NE(run.out.find("checksum stored 0, computed 14914"), std::string::npos);
    EXPECT_NE(run.out.find("88      4     gsen_x_threshold            basic         50\n"), std::string::npos);
    EXPECT_NE(run.out.find("412     4     En_SuperNightVision         video+motion  0\n"), std::string::npos);
    EXPECT_NE(run.out.find("256     8     szPlateNumber               basic         \"Zentrova\"\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("420     76    dummy00                     -             0 0 0"), std::string::npos);
    std::size_t lines = 0;
    for (char c : run.out) lines += c == '\n';
    EXPECT_EQ(lines, 3u + 1u + 107u);
}

// Bytes with a distinct value at every position; only the plate flag and the
// checksum may change when the record is prepared.
std::string sampleBytes(bool withPlate) {
    std::string bytes(500, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 37 + 11) % 256);
    if (!withPlate) bytes[256] = '\0';
    return bytes;
}

std::uint16_t checksumOf(const std::string& bytes) {
    std::uint32_t sum = 0;
    for (std::size_t offset = 4; offset < 500; offset += 4) {
        std::uint32_t word = 0;
        for (std::size_t b = 0; b < 4; ++b) word |= std::uint32_t(std::uint8_t(bytes[offset + b])) << (8 * b);
        sum ^= word;
    }
    return static_cast<std::uint16_t>(sum);
}

TEST(ConfigCommandTest, PrepareSetsThePlateFlagThenTheChecksum) {
    TempDir dir;
    for (bool withPlate : {true, false}) {
        SCOPED_TRACE(withPlate);
        fs::path in = dir.touch("in.bin", sampleBytes(withPlate));
        fs::path out = dir.path() / "out.bin";
        CliRun run = config({"prepare", in.string(), out.string()});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        std::string expected = sampleBytes(withPlate);
        expected.replace(156, 4, std::string(withPlate ? "\x01" : "\x00", 1) + std::string(3, '\0'));
        std::uint16_t sum = checksumOf(expected);
        expected[2] = static_cast<char>(sum & 0xFF);
        expected[3] = static_cast<char>(sum >> 8);
        EXPECT_EQ(test::fileText(out), expected);
        EXPECT_EQ(test::fileText(in), sampleBytes(withPlate)) << "the input is not changed";
    }
}

TEST(ConfigCommandTest, PrepareRefusesARecordOfAnotherSize) {
    TempDir dir;
    fs::path out = dir.path() / "out.bin";
    for (std::size_t size : {499, 501}) {
        fs::path in = dir.touch("in.bin", std::string(size, '\x01'));
        CliRun run = config({"prepare", in.string(), out.string()});
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
        EXPECT_FALSE(fs::exists(out));
    }
}

// The system's reason, on the one prefixed line, whatever stopped the write.
TEST(ConfigCommandTest, AFailedWriteGivesTheSystemsReasonOnOneLine) {
    TempDir dir;
    const std::string in = dir.touch("in.bin", std::string(500, '\0')).string();
    const std::string gone = (dir.path() / "gone" / "config.bin").string();
    const std::string out = (dir.path() / "config.bin").string();
    const auto inChild = [](const std::vector<std::string>& args, rlim_t limit) {
        return test::runInChild(test::fileSizeLimit(limit), [&] {
            CliRun run = config(args);
            return std::to_string(run.status) + "|" + run.err;
        });
    };
    struct Case {
        const char* name;
        std::string outcome;
        std::string expected;
    } cases[] = {
        {"missing folder", inChild({"reset", gone}, RLIM_INFINITY),
         "1|zentrova-cli: config reset: cannot write " + gone + ": No such file or directory\n"},
        {"card full during reset", inChild({"reset", out}, 100),
         "1|zentrova-cli: config reset: cannot write " + out + ": File too large\n"},
        {"card full during prepare", inChild({"prepare", in, out}, 100),
         "1|zentrova-cli: config prepare: cannot write " + out + ": File too large\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.outcome, c.expected);
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(ConfigCommandTest, PrepareRefusesToWriteOverItsInput) {
    TempDir dir;
    const std::string in = dir.touch("config.bin", std::string(500, '\x01')).string();
    const std::string link = (dir.path() / "link.bin").string();
    const std::string hard = (dir.path() / "hard.bin").string();
    fs::create_symlink(in, link);
    fs::create_hard_link(in, hard);
    for (const std::string& out : {in, link, hard}) {
        SCOPED_TRACE(out);
        CliRun run = config({"prepare", in, out});
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_NE(run.err.find("is the input file"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
        EXPECT_EQ(test::fileText(in), std::string(500, '\x01'));
    }
}

TEST(ConfigCommandTest, ErrorsAndHelp) {
    TempDir dir;
    const std::string file = dir.touch("config.bin", std::string(500, '\0')).string();
    struct Case {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{}, kExitUsage},
        {{"bogus"}, kExitUsage},
        {{"show"}, kExitUsage},
        {{"show", "/no/such/config.bin"}, kExitUsage},
        {{"show", dir.str()}, kExitUsage},
        {{"show", file, "--csv"}, kExitUsage},
        {{"show", file, file}, kExitUsage},
        {{"reset"}, kExitUsage},
        {{"reset", file, file}, kExitUsage},
        {{"reset", ""}, kExitUsage},
        {{"prepare", file, ""}, kExitUsage},
        {{"prepare", file}, kExitUsage},
        {{"prepare", "/no/such/config.bin", file}, kExitUsage},
        {{"--help"}, kExitOk},
        {{"show", "--help"}, kExitOk},
        {{"reset", "--help"}, kExitOk},
        {{"prepare", "--help"}, kExitOk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + (c.args.size() > 1 ? " " + c.args[1] : ""));
        CliRun run = config(c.args);
        EXPECT_EQ(run.status, c.status);
        if (c.status == kExitUsage) {
            ASSERT_FALSE(run.err.empty());
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line";
            EXPECT_EQ(run.out, "");
        } else {
            EXPECT_EQ(run.err, "");
            EXPECT_NE(run.out.find("usage: zentrova-cli config"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace zentrova
