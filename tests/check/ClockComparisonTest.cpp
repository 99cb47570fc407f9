#include "check/ClockComparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {
namespace {

std::vector<ClockSample> samplesOf(std::vector<double> differences) {
    std::vector<ClockSample> samples;
    for (std::size_t i = 0; i < differences.size(); ++i) samples.push_back({i, differences[i]});
    return samples;
}

std::vector<std::string> keysOf(const CheckFindings& findings) {
    std::vector<std::string> keys;
    for (const CheckFinding& finding : findings) keys.push_back(finding.key);
    return keys;
}

constexpr std::int32_t kUtc = 14;
constexpr std::int32_t kPlusOne = 15;
constexpr std::int32_t kPlusTwo = 16;
constexpr std::int32_t kPlusFiveThirty = 22;
constexpr std::int32_t kPlusFiveFortyFive = 23;
constexpr std::int32_t kPlusSix = 24;
constexpr std::int32_t kPlusThirteen = 33;
constexpr std::int32_t kMinusEight = 4;
constexpr std::int32_t kPlusNine = 28;

TEST(ClockComparisonTest, VerdictSuggestionAndWhatIsLeftForTheClock) {
    struct Case {
        const char* what;
        std::vector<double> differences;
        std::optional<TimeZoneSetting> setting;
        ClockVerdict verdict;
        std::optional<TimeZoneSetting> suggested;
        double clockOff;
        std::vector<std::string> keys;
    } cases[] = {
        {"in step to a second", {0.4, -0.3, 1.0}, TimeZoneSetting{kPlusOne, true}, ClockVerdict::InStep, std::nullopt,
         0.4, {"check.clock.in_step"}},
        {"two seconds are still in step", {2.0, 2.0}, TimeZoneSetting{kPlusOne, true}, ClockVerdict::InStep,
         std::nullopt, 2.0, {"check.clock.in_step"}},
        {"the clock a little ahead", {42.2, 41.8, 42.0}, TimeZoneSetting{kUtc, false}, ClockVerdict::CameraClock,
         std::nullopt, 42.0, {"check.clock.ahead"}},
        {"the clock behind", {-95.0}, TimeZoneSetting{kMinusEight, true}, ClockVerdict::CameraClock, std::nullopt,
         -95.0, {"check.clock.behind"}},
        {"an hour ahead with the zone right: summer time off where it should be on", {3600.0},
         TimeZoneSetting{kPlusOne, false}, ClockVerdict::TimeZone, TimeZoneSetting{kPlusOne, true}, 0.0,
         {"check.clock.time_zone"}},
        {"an hour behind west of Greenwich: summer time on where it should be off", {-3600.4},
         TimeZoneSetting{kMinusEight, true}, ClockVerdict::TimeZone, TimeZoneSetting{kMinusEight, false}, -0.4,
         {"check.clock.time_zone"}},
        {"the factory zone on a clock two hours ahead of UTC", {-25200.0}, TimeZoneSetting{kPlusNine, false},
         ClockVerdict::TimeZone, TimeZoneSetting{kPlusTwo, false}, 0.0, {"check.clock.time_zone"}},
        {"half an hour behind", {-1800.0}, TimeZoneSetting{kPlusSix, false}, ClockVerdict::TimeZone,
         TimeZoneSetting{kPlusFiveThirty, false}, 0.0, {"check.clock.time_zone"}},
        {"a quarter of an hour to Nepal's zone", {900.0}, TimeZoneSetting{kPlusFiveThirty, false},
         ClockVerdict::TimeZone, TimeZoneSetting{kPlusFiveFortyFive, false}, 0.0, {"check.clock.time_zone"}},
        {"a quarter of an hour elsewhere is the clock", {900.0}, TimeZoneSetting{kPlusOne, false},
         ClockVerdict::CameraClock, std::nullopt, 900.0, {"check.clock.ahead"}},
        {"a zone and the clock off besides", {3607.0, 3607.0}, TimeZoneSetting{kUtc, false}, ClockVerdict::TimeZone,
         TimeZoneSetting{kUtc, true}, 7.0, {"check.clock.time_zone", "check.clock.ahead"}},
        {"no zone beyond +13:00 with summer time", {3600.0}, TimeZoneSetting{kPlusThirteen, true},
         ClockVerdict::CameraClock, std::nullopt, 3600.0, {"check.clock.ahead"}},
        {"no config.bin: two hours off UTC is a zone", {7200.5}, std::nullopt, ClockVerdict::InStep, std::nullopt, 0.5,
         {"check.clock.no_zone"}},
        {"no config.bin: the clock's own error shows past the quarter hours", {7230.0}, std::nullopt,
         ClockVerdict::CameraClock, std::nullopt, 30.0, {"check.clock.no_zone", "check.clock.ahead"}},
        {"a zone outside the list counts as none", {7200.0}, TimeZoneSetting{40, false}, ClockVerdict::InStep,
         std::nullopt, 0.0, {"check.clock.no_zone"}},
        {"no GPS time at all", {}, TimeZoneSetting{kPlusOne, true}, ClockVerdict::NoGpsTime, std::nullopt, 0.0,
         {"check.clock.no_gps"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ClockReport report = ClockComparison::compare(samplesOf(c.differences), c.setting);
        EXPECT_EQ(report.verdict, c.verdict);
        EXPECT_EQ(report.suggested, c.suggested);
        EXPECT_NEAR(report.clockOffSeconds, c.clockOff, 1e-9);
        CheckFindings findings;
        ClockComparison::addFindings(report, {}, findings);
        EXPECT_EQ(keysOf(findings), c.keys);
        for (const CheckFinding& finding : findings) {
            EXPECT_EQ(finding.severity, finding.key == "check.clock.in_step" || finding.key == "check.clock.no_zone" ||
                                                finding.key == "check.clock.no_gps"
                                            ? Severity::Info
                                            : Severity::Warning)
                << finding.key;
        }
    }
}

TEST(ClockComparisonTest, TheSuggestionNamesTheValuesToChoose) {
    const ClockReport report = ClockComparison::compare(samplesOf({-25200.0}), TimeZoneSetting{kPlusNine, false});
    CheckFindings findings;
    ClockComparison::addFindings(report, {}, findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].value("hours")->text, "-7:00");
    EXPECT_EQ(findings[0].value("setting")->text, "+09:00");
    EXPECT_EQ(findings[0].value("suggested")->text, "+02:00");
    EXPECT_EQ(findings[0].value("suggestedTimeGmt")->number, kPlusTwo);
    EXPECT_EQ(findings[0].value("suggestedSummerTime")->number, 0);
    EXPECT_NE(findings[0].text.find("+02:00"), std::string::npos) << findings[0].text;

    const ClockReport summer = ClockComparison::compare(samplesOf({3600.0}), TimeZoneSetting{kPlusOne, false});
    EXPECT_EQ(summer.suggested->describe(), "+01:00 with summer time");
}

TEST(ClockComparisonTest, MedianAndSpreadOverTheCard) {
    const ClockReport report = ClockComparison::compare(samplesOf({5.0, -1.0, 3.0, 4.0}), TimeZoneSetting{kUtc, false});
    EXPECT_DOUBLE_EQ(report.medianSeconds.value(), 3.5);
    EXPECT_DOUBLE_EQ(report.lowestSeconds.value(), -1.0);
    EXPECT_DOUBLE_EQ(report.highestSeconds.value(), 5.0);
    EXPECT_DOUBLE_EQ(report.spreadSeconds(), 6.0);
}

TEST(ClockComparisonTest, SingleRenamedFilesAreNamedAndAClockThatMovedIsASpread) {
    const TimeZoneSetting zone{kPlusOne, true};
    const ClockReport renamed = ClockComparison::compare(samplesOf({0, 0, 3600, 0, 0, 0, 0}), zone);
    EXPECT_EQ(renamed.verdict, ClockVerdict::InStep);
    EXPECT_EQ(renamed.outliers, (std::vector<std::size_t>{2}));
    CheckFindings findings;
    ClockComparison::addFindings(renamed, {"alwa_20240614_093016"}, findings);
    EXPECT_EQ(keysOf(findings), (std::vector<std::string>{"check.clock.in_step", "check.clock.outlier"}));
    EXPECT_EQ(findings[1].subject, "alwa_20240614_093016");
    EXPECT_EQ(findings[1].value("fromMedian")->number, 3600.0);

    const ClockReport moved = ClockComparison::compare(samplesOf({0, 0, 0, 40, 40, 40}), zone);
    EXPECT_TRUE(moved.outliers.empty());
    findings.clear();
    ClockComparison::addFindings(moved, {}, findings);
    EXPECT_EQ(keysOf(findings), (std::vector<std::string>{"check.clock.ahead", "check.clock.spread"}));
}

TEST(ClockComparisonTest, HoursTextBothWays) {
    EXPECT_EQ(ClockComparison::hoursText(3600), "+1:00");
    EXPECT_EQ(ClockComparison::hoursText(-25200), "-7:00");
    EXPECT_EQ(ClockComparison::hoursText(20700), "+5:45");
    EXPECT_EQ(ClockComparison::hoursText(-1790), "-0:30");
}

}  // namespace
}  // namespace zentrova
