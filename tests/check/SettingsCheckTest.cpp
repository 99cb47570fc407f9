#include "check/SettingsCheck.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

std::string bytesOf(const FILEDATA& record) {
    const FileDataBytes bytes = fileDataBytes(record);
    return std::string(bytes.begin(), bytes.end());
}

FILEDATA saved(void (*change)(FILEDATA&) = nullptr) {
    FILEDATA record;
    resetFileData(record);
    if (change) change(record);
    prepareFileDataForWriting(record);
    return record;
}

using Found = std::vector<std::pair<std::string, Severity>>;

Found findingsFor(const test::TempDir& dir) {
    CheckFindings findings;
    SettingsCheck::addFindings(SettingsCheck::read(dir.str()), findings);
    Found found;
    for (const CheckFinding& finding : findings) found.emplace_back(finding.key, finding.severity);
    return found;
}

const Found kRecordNotes{{"check.settings.split", Severity::Info},
                         {"check.settings.recording_length", Severity::Info},
                         {"check.settings.time_zone", Severity::Info}};

Found withRecordNotes(Found first) {
    first.insert(first.end(), kRecordNotes.begin(), kRecordNotes.end());
    return first;
}

TEST(SettingsCheckTest, FindingsForEachStateOfConfigBin) {
    FILEDATA wrongSum = saved();
    wrongSum.checksum ^= 1;
    struct Case {
        const char* what;
        std::string name;  // empty: no file
        std::string content;
        Found found;
    } cases[] = {
        {"no file", "", "", {{"check.settings.missing", Severity::Warning}}},
        {"a saved record", "config.bin", bytesOf(saved()), withRecordNotes({{"check.settings.whole", Severity::Info}})},
        {"the name in capitals", "CONFIG.BIN", bytesOf(saved()), withRecordNotes({{"check.settings.whole", Severity::Info}})},
        {"one byte short", "config.bin", bytesOf(saved()).substr(1), {{"check.settings.wrong_size", Severity::Problem}}},
        {"one byte too many", "config.bin", bytesOf(saved()) + "x", {{"check.settings.wrong_size", Severity::Problem}}},
        {"empty", "config.bin", "", {{"check.settings.wrong_size", Severity::Problem}}},
        {"a wrong checksum", "config.bin", bytesOf(wrongSum),
         withRecordNotes({{"check.settings.bad_checksum", Severity::Problem}})},
        {"the reset record a format leaves, before its first save: checksum 0", "config.bin",
         [] {
             FILEDATA record;
             resetFileData(record);
             return bytesOf(record);
         }(),
         withRecordNotes({{"check.settings.no_checksum", Severity::Info}})},
        {"a split the page refuses", "config.bin", bytesOf(saved([](FILEDATA& r) {
             r.sd_mem_always_ratio = 85;
             r.sd_mem_motion_ratio = 10;
             r.sd_mem_event_ratio = 5;
         })),
         {{"check.settings.whole", Severity::Info},
          {"check.settings.split_invalid", Severity::Warning},
          {"check.settings.recording_length", Severity::Info},
          {"check.settings.time_zone", Severity::Info}}},
        {"shares over 100 %", "config.bin", bytesOf(saved([](FILEDATA& r) { r.sd_mem_event_ratio = 30; })),
         {{"check.settings.whole", Severity::Info},
          {"check.settings.split_invalid", Severity::Warning},
          {"check.settings.recording_length", Severity::Info},
          {"check.settings.time_zone", Severity::Info}}},
        {"an unknown recording length and time zone", "config.bin", bytesOf(saved([](FILEDATA& r) {
             r.always_mode_recording_time = 7;
             r.time_gmt = 34;
         })),
         {{"check.settings.whole", Severity::Info},
          {"check.settings.split", Severity::Info},
          {"check.settings.recording_length_unknown", Severity::Warning},
          {"check.settings.time_zone_unknown", Severity::Warning}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        if (!c.name.empty()) dir.touch(c.name, c.content);
        EXPECT_EQ(findingsFor(dir), c.found);
    }
}

TEST(SettingsCheckTest, ReportHoldsTheValuesTheClockAndSpaceChecksUse) {
    test::TempDir dir;
    dir.touch("config.bin", bytesOf(saved([](FILEDATA& r) {
        r.time_gmt = 7;
        r.summer_time = 3;
        r.always_mode_recording_time = 0;
    })));
    const SettingsReport report = SettingsCheck::read(dir.str());
    EXPECT_TRUE(report.checksumRight());
    EXPECT_EQ(report.size, 500u);
    EXPECT_EQ(report.timeZone(), (TimeZoneSetting{7, true})) << "any non-zero summer_time is on, as on the page";
    EXPECT_EQ(report.recordingMinutes(), 5);
    EXPECT_EQ(report.timeZone()->utcOffsetMinutes(), -300 + 60);
}

TEST(SettingsCheckTest, ReadingNeverChangesTheFile) {
    test::TempDir dir;
    FILEDATA wrongSum = saved();
    wrongSum.checksum = 0x1234;
    const std::string bytes = bytesOf(wrongSum);
    const auto file = dir.touch("config.bin", bytes);
    const auto before = std::filesystem::last_write_time(file);
    (void)SettingsCheck::read(dir.str());
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

}  // namespace
}  // namespace zentrova
