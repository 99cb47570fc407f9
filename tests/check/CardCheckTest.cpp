#include "check/CardCheck.h"

#include "recordings/StdDirectoryLister.h"
#include "support/GeneratedCard.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <stop_token>
#include <string>
#include <tuple>
#include <vector>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::GeneratedCard;

CardCheckReport check(const std::string& root, const CardCheck::ProgressCallback& progress = {},
                      std::stop_token stop = {}) {
    StdDirectoryLister lister;
    return CardCheck(root, lister).run(progress, stop);
}

// Every finding worse than a note: key and subject.
std::set<std::pair<std::string, std::string>> worseThanNotes(const CardCheckReport& report) {
    std::set<std::pair<std::string, std::string>> found;
    for (const CheckFinding& finding : report.findings) {
        if (finding.severity != Severity::Info) found.emplace(finding.key, finding.subject);
    }
    return found;
}

const CheckFinding* findingOf(const CardCheckReport& report, std::string_view key) {
    for (const CheckFinding& finding : report.findings) {
        if (finding.key == key) return &finding;
    }
    return nullptr;
}

// Size and change time of every file under a folder.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> filesUnder(const std::string& root) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
    }
    return files;
}

TEST(CardCheckTest, ACleanCardHasNothingWorseThanNotesAndIsLeftAsItWas) {
    const GeneratedCard card;
    ASSERT_TRUE(card.result.card) << card.result.error;
    const auto before = filesUnder(card.root());
    const CardCheckReport report = check(card.root());
    EXPECT_EQ(filesUnder(card.root()), before) << "the check wrote to the card";

    EXPECT_TRUE(report.complete);
    EXPECT_EQ(worseThanNotes(report), (std::set<std::pair<std::string, std::string>>{}));
    ASSERT_EQ(report.recordings.size(), card.card().recordings.size());
    std::size_t fronts = 0;
    for (const RecordingCheck& recording : report.recordings) {
        SCOPED_TRACE(recording.name);
        for (const auto* side : {&recording.front, &recording.rear}) {
            if (!*side) continue;
            EXPECT_EQ((*side)->index.fault, Mp4Fault::None);
            EXPECT_NEAR((*side)->index.lengthSeconds().value_or(0), 4.0, 0.1);
        }
        if (!recording.front) continue;
        ++fronts;
        ASSERT_NE(recording.telemetry(), nullptr);
        EXPECT_EQ(recording.telemetry()->records, 40u);
        EXPECT_GE(recording.telemetry()->validFixes, 2u);
        EXPECT_LE(recording.telemetry()->validFixes, 4u) << "one fix a second at most";
    }
    EXPECT_EQ(report.clock.verdict, ClockVerdict::InStep);
    EXPECT_EQ(report.clock.samples.size(), fronts);
    EXPECT_NEAR(report.clock.medianSeconds.value_or(99), 0.0, 0.5);
    EXPECT_LT(report.clock.spreadSeconds(), 0.5);
    ASSERT_EQ(report.days.size(), 1u);
    EXPECT_TRUE(report.days[0].gaps.empty());
    EXPECT_TRUE(report.days[0].overlaps.empty());
    EXPECT_TRUE(report.settings.checksumRight());
    EXPECT_NE(findingOf(report, "check.clock.in_step"), nullptr);
}

TEST(CardCheckTest, EachFaultIsFoundWithItsSeverityAndNothingElse) {
    samplecard::SampleCardOptions options = GeneratedCard::defaults();
    options.durationSeconds = 6;
    options.faults.cutOff = samplecard::SampleFileChoice{2, false};
    options.faults.empty = samplecard::SampleFileChoice{3, true};
    options.faults.gapSeconds = 30;
    options.faults.wrongChecksum = true;
    const GeneratedCard card(options);
    ASSERT_TRUE(card.result.card) << card.result.error;
    const CardCheckReport report = check(card.root());

    const std::string gapDay = "2024-06-14";
    EXPECT_EQ(worseThanNotes(report), (std::set<std::pair<std::string, std::string>>{
                                          {"check.file.cut_off", card.relative(2, false)},
                                          {"check.file.empty", card.relative(3, true)},
                                          {"check.day.gap_driving", gapDay},
                                          {"check.settings.bad_checksum", "config.bin"},
                                      }));
    for (const CheckFinding& finding : report.findings) {
        if (finding.key == "check.file.cut_off" || finding.key == "check.file.empty" ||
            finding.key == "check.settings.bad_checksum") {
            EXPECT_EQ(finding.severity, Severity::Problem) << finding.key;
        }
    }
    const CheckFinding* gap = findingOf(report, "check.day.gap_driving");
    ASSERT_NE(gap, nullptr);
    EXPECT_EQ(gap->severity, Severity::Warning);
    EXPECT_NEAR(gap->value("seconds")->number.value(), 30.0, 0.1);
    EXPECT_EQ(gap->value("before")->text, card.card().recordings[0].groupName);
    EXPECT_EQ(gap->value("after")->text, card.card().recordings[1].groupName);
    EXPECT_EQ(report.worst(), Severity::Problem);
    EXPECT_EQ(report.findings.front().severity, Severity::Problem) << "problems come first";
}

struct ClockCase {
    const char* what;
    std::int32_t timeGmt;
    bool summerTime;
    int clockOffset;
    ClockVerdict verdict;
    std::optional<TimeZoneSetting> suggested;
    std::string key;
};

class CardClockTest : public testing::TestWithParam<ClockCase> {};

TEST_P(CardClockTest, DifferenceMeasuredToTheSecond) {
    const ClockCase& c = GetParam();
    samplecard::SampleCardOptions options = GeneratedCard::defaults();
    options.continuousCount = 2;
    options.timeGmt = c.timeGmt;
    options.summerTime = c.summerTime;
    options.faults.clockOffsetSeconds = c.clockOffset;
    const GeneratedCard card(options);
    ASSERT_TRUE(card.result.card) << card.result.error;
    const CardCheckReport report = check(card.root());

    ASSERT_TRUE(report.clock.medianSeconds);
    EXPECT_NEAR(*report.clock.medianSeconds, c.clockOffset, 0.5);
    EXPECT_EQ(std::llround(*report.clock.medianSeconds), c.clockOffset);
    EXPECT_LT(report.clock.spreadSeconds(), 0.5);
    EXPECT_EQ(report.clock.verdict, c.verdict);
    EXPECT_EQ(report.clock.suggested, c.suggested);
    for (const RecordingCheck& recording : report.recordings) {
        if (recording.clockDifferenceSeconds) {
            EXPECT_NEAR(*recording.clockDifferenceSeconds, c.clockOffset, 0.5);
        }
    }
    const CheckFinding* finding = findingOf(report, c.key);
    ASSERT_NE(finding, nullptr) << c.key;
    if (c.verdict == ClockVerdict::CameraClock) {
        EXPECT_EQ(finding->value("seconds")->text, std::to_string(std::abs(c.clockOffset)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    ZonesAndClocks, CardClockTest,
    testing::Values(
        ClockCase{"Central Europe in summer, clock right", 15, true, 0, ClockVerdict::InStep, std::nullopt,
                  "check.clock.in_step"},
        ClockCase{"five hours west, clock 37 s ahead", 7, false, 37, ClockVerdict::CameraClock, std::nullopt,
                  "check.clock.ahead"},
        ClockCase{"India, clock 90 s behind", 22, false, -90, ClockVerdict::CameraClock, std::nullopt,
                  "check.clock.behind"},
        ClockCase{"an hour ahead of what summer time in Central Europe gives", 15, true, 3600, ClockVerdict::TimeZone,
                  TimeZoneSetting{16, true}, "check.clock.time_zone"},
        ClockCase{"the US west coast, summer time set where the clock has none", 4, true, -3600,
                  ClockVerdict::TimeZone, TimeZoneSetting{4, false}, "check.clock.time_zone"}),
    [](const testing::TestParamInfo<ClockCase>& info) { return "case" + std::to_string(info.index); });

TEST(CardCheckTest, CancelledCheckStopsEarlyAndSaysSo) {
    const GeneratedCard card;
    ASSERT_TRUE(card.result.card) << card.result.error;
    std::stop_source stop;
    std::vector<CardCheckProgress> seen;
    const CardCheckReport report = check(
        card.root(),
        [&](const CardCheckProgress& progress) {
            seen.push_back({progress.done, progress.total, {}});
            if (progress.done == 3) stop.request_stop();
        },
        stop.get_token());

    EXPECT_FALSE(report.complete);
    ASSERT_NE(findingOf(report, "check.cancelled"), nullptr);
    EXPECT_EQ(findingOf(report, "check.cancelled")->severity, Severity::Warning);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().total, 0u) << "the listing comes first";
    for (std::size_t i = 2; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].done, seen[i - 1].done + 1);
        EXPECT_EQ(seen[i].total, report.fileCount());
    }
    EXPECT_EQ(seen.back().done, 3u);
    std::size_t checked = 0;
    for (const RecordingCheck& recording : report.recordings) {
        for (const auto* side : {&recording.front, &recording.rear}) checked += *side && (*side)->checked;
    }
    EXPECT_EQ(checked, 3u);
    EXPECT_TRUE(report.days.empty()) << "no continuity from a part of the card";
    EXPECT_EQ(report.clock.verdict, ClockVerdict::NoGpsTime);
}

TEST(CardCheckTest, SpecialFilesUnderRecordingNamesAreReportedWithoutBeingOpened) {
    test::TempDir card;
    card.mkdir("Normal");
    const std::string fifo = (card.path() / "Normal" / "alwa_20240614_093000_F.MP4").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((card.path() / "config.bin").c_str(), 0644), 0);
    // A reader that opened either would wait here for a writer for ever.
    const CardCheckReport report = check(card.str());
    EXPECT_EQ(worseThanNotes(report), (std::set<std::pair<std::string, std::string>>{
                                          {"check.file.unreadable", "Normal/alwa_20240614_093000_F.MP4"},
                                          {"check.settings.unreadable", "config.bin"},
                                      }));
    EXPECT_NE(findingOf(report, "check.file.unreadable")->text.find("not a regular file"), std::string::npos);
}

}  // namespace
}  // namespace zentrova
