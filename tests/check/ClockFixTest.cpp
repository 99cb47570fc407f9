#include "check/ClockFix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

namespace zentrova {
namespace {

using namespace std::chrono;

system_clock::time_point utc(int year, unsigned month, unsigned day, int hour, int minute, int second) {
    return sys_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day)) + hours(hour) +
           minutes(minute) + seconds(second);
}

TEST(ClockFixTest, TheClockFileHoldsTheTimeInTheCardsZoneExpected) {
    struct Case {
        const char* name;
        system_clock::time_point instant;
        int offsetMinutes;
        const char* expected;
    } cases[] = {
        {"central Europe in summer", utc(2024, 6, 14, 7, 30, 5), 120, "2024/06/14 09:30:05"},
        {"a zone behind UTC", utc(2024, 6, 14, 7, 30, 5), -300, "2024/06/14 02:30:05"},
        {"a quarter-hour zone", utc(2024, 6, 14, 7, 30, 5), 345, "2024/06/14 13:15:05"},
        {"ahead of UTC into the next day", utc(2024, 12, 31, 23, 10, 0), 60, "2025/01/01 00:10:00"},
        {"behind UTC into the day before", utc(2024, 3, 1, 2, 0, 59), -180, "2024/02/29 23:00:59"},
        {"UTC itself", utc(2030, 1, 2, 3, 4, 5), 0, "2030/01/02 03:04:05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto text = ClockFix::textAt(c.instant, c.offsetMinutes);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, c.expected);
        EXPECT_EQ(text->size(), 19u);
    }
}

TEST(ClockFixTest, WithoutTheCardsZoneTheComputersOwnZoneIsTakenExpected) {
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    setenv("TZ", "America/New_York", 1);
    tzset();
    const auto text = ClockFix::textAt(utc(2024, 1, 15, 12, 0, 0), std::nullopt);
    if (before) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "2024/01/15 07:00:00");
}

TEST(ClockFixTest, AYearTheCameraCannotTakeGivesNoTextExpected) {
    EXPECT_FALSE(ClockFix::textAt(utc(1969, 12, 31, 23, 0, 0), 0));
    EXPECT_FALSE(ClockFix::textAt(utc(2155, 12, 31, 23, 30, 0), 60)) << "the card's zone moves it into 2156";
}

TEST(ClockFixTest, TheFileGoesBesideTheCardsSettingsElseIntoTheCheckedFolderExpected) {
    CardCheckReport report;
    report.directory = "/media/card/Normal";
    EXPECT_EQ(ClockFix::filePath(report), "/media/card/Normal/timeset.cfg");
    report.settings.path = "/media/card/config.bin";
    EXPECT_EQ(ClockFix::filePath(report), "/media/card/timeset.cfg");
}

TEST(ClockFixTest, OfferedOnlyWhenTheClockItselfIsOffOnAWholeCardExpected) {
    struct Case {
        const char* name;
        ClockVerdict verdict;
        double clockOff;
        bool complete;
        bool offered;
    } cases[] = {
        {"in step", ClockVerdict::InStep, 1.0, true, false},
        {"the clock ahead", ClockVerdict::CameraClock, 7.0, true, true},
        {"the clock behind", ClockVerdict::CameraClock, -40.0, true, true},
        {"a zone alone", ClockVerdict::TimeZone, 0.0, true, false},
        {"a zone and the clock", ClockVerdict::TimeZone, 12.0, true, true},
        {"a cancelled check", ClockVerdict::CameraClock, 7.0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardCheckReport report;
        report.complete = c.complete;
        report.clock.verdict = c.verdict;
        report.clock.clockOffSeconds = c.clockOff;
        report.clock.medianSeconds = c.clockOff;
        EXPECT_EQ(ClockFix::isOffered(report), c.offered);
    }
}

}  // namespace
}  // namespace zentrova
