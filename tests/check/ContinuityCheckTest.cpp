#include "check/CivilSeconds.h"
#include "check/ContinuityCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

const std::int64_t kNine = CivilSeconds::of(2024, 6, 14, 9, 0, 0);

TimedRecording at(std::size_t index, double secondsAfterNine, std::optional<double> length,
                  ORVMediaDivision mode = ORVMediaDivisionAlways, std::optional<double> speed = 50.0) {
    TimedRecording recording;
    recording.recording = index;
    recording.mode = mode;
    recording.start = kNine + static_cast<std::int64_t>(secondsAfterNine);
    recording.lengthSeconds = length;
    recording.kilometresPerHourAtStart = speed;
    recording.kilometresPerHourAtEnd = speed;
    return recording;
}

struct Gap {
    double from, to;  // seconds after nine
    double uncovered;
    bool whileMoving;
};

TEST(ContinuityCheckTest, GapsAndOverlapsBetweenContinuousRecordings) {
    struct Case {
        const char* what;
        std::vector<TimedRecording> recordings;
        std::vector<Gap> gaps;
        std::vector<double> overlaps;
    } cases[] = {
        {"back to back, the last frames a little long",
         {at(0, 0, 60.04), at(1, 60, 60.04), at(2, 120, 60.0)}, {}, {}},
        {"names in whole seconds and a second lost between files", {at(0, 0, 59.2), at(1, 62, 60)}, {}, {}},
        {"thirty seconds missing while driving", {at(0, 0, 60), at(1, 90, 60)}, {{60, 90, 30, true}}, {}},
        {"given in any order", {at(1, 90, 60), at(0, 0, 60)}, {{60, 90, 30, true}}, {}},
        {"an event recording in between covers the time",
         {at(0, 0, 60), at(1, 60, 30, ORVMediaDivisionEvent), at(2, 90, 60)}, {}, {}},
        {"an event covers part of it",
         {at(0, 0, 60), at(1, 70, 10, ORVMediaDivisionEvent), at(2, 100, 60)}, {{60, 100, 30, true}}, {}},
        {"recordings of other modes leave only seconds open",
         {at(0, 0, 60), at(1, 61, 20, ORVMediaDivisionMotion), at(2, 83, 60)}, {}, {}},
        {"a stop: standing at both ends", {at(0, 0, 60, ORVMediaDivisionAlways, 0.0), at(1, 600, 60, ORVMediaDivisionAlways, 2.0)},
         {{60, 600, 540, false}}, {}},
        {"no fix at either end", {at(0, 0, 60, ORVMediaDivisionAlways, std::nullopt),
                                 at(1, 600, 60, ORVMediaDivisionAlways, std::nullopt)},
         {{60, 600, 540, false}}, {}},
        {"a damaged file of unknown length runs until the next", {at(0, 0, 60), at(1, 60, std::nullopt), at(2, 120, 60)},
         {}, {}},
        {"the clock set back", {at(0, 0, 60), at(1, 50, 60)}, {}, {10}},
        {"motion recordings alone make no gaps", {at(0, 0, 10, ORVMediaDivisionMotion), at(1, 500, 10, ORVMediaDivisionMotion)},
         {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto days = ContinuityCheck::days(c.recordings);
        std::vector<Gap> gaps;
        std::vector<double> overlaps;
        for (const DayContinuity& day : days) {
            for (const RecordingGap& gap : day.gaps) {
                gaps.push_back({gap.from - static_cast<double>(kNine), gap.to - static_cast<double>(kNine),
                                gap.uncoveredSeconds, gap.whileMoving});
            }
            for (const RecordingOverlap& overlap : day.overlaps) overlaps.push_back(overlap.seconds);
        }
        ASSERT_EQ(gaps.size(), c.gaps.size());
        for (std::size_t i = 0; i < gaps.size(); ++i) {
            EXPECT_DOUBLE_EQ(gaps[i].from, c.gaps[i].from);
            EXPECT_DOUBLE_EQ(gaps[i].to, c.gaps[i].to);
            EXPECT_DOUBLE_EQ(gaps[i].uncovered, c.gaps[i].uncovered);
            EXPECT_EQ(gaps[i].whileMoving, c.gaps[i].whileMoving);
        }
        EXPECT_EQ(overlaps, c.overlaps);
    }
}

TEST(ContinuityCheckTest, DaysByTheFileNamesWithTheirFindings) {
    const std::int64_t day = 86400;
    std::vector<TimedRecording> recordings{at(0, 0, 60), at(1, 120, 60), at(2, day, 60), at(3, day + 30, 60)};
    const auto days = ContinuityCheck::days(recordings);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].date, "2024-06-14");
    EXPECT_EQ(days[0].continuousRecordings, 2u);
    EXPECT_EQ(days[0].gaps.size(), 2u) << "the night before the next day's first recording counts on this day";
    EXPECT_EQ(days[1].date, "2024-06-15");
    EXPECT_EQ(days[1].overlaps.size(), 1u);

    CheckFindings findings;
    ContinuityCheck::addFindings(days, {"a", "b", "c", "d"}, findings);
    std::vector<std::pair<std::string, Severity>> keys;
    for (const CheckFinding& finding : findings) keys.emplace_back(finding.key, finding.severity);
    const std::vector<std::pair<std::string, Severity>> expected{
        {"check.day.summary", Severity::Info},        {"check.day.gap_driving", Severity::Warning},
        {"check.day.gap_driving", Severity::Warning}, {"check.day.summary", Severity::Info},
        {"check.day.overlap", Severity::Warning}};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(findings[1].value("from")->text, "09:01:00");
    EXPECT_EQ(findings[1].value("to")->text, "09:02:00");
    EXPECT_EQ(findings[1].value("seconds")->number, 60.0);
    EXPECT_EQ(findings[1].value("before")->text, "a");
    EXPECT_EQ(findings[1].value("after")->text, "b");
    EXPECT_EQ(findings[4].value("seconds")->number, 30.0);
}

}  // namespace
}  // namespace zentrova
