#include "check/ClockComparison.h"

#include "settings/TimeZoneList.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zentrova {
namespace {

// A time-zone mistake explains a difference only this close to a whole
// zone step; what is left is then the clock's own error.
constexpr double kZoneStepSlack = 300.0;
constexpr double kHalfHour = 1800.0;
constexpr double kQuarterHour = 900.0;

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

double roundTo(double value, double step) { return std::round(value / step) * step; }

bool isQuarterZone(int minutes) { return minutes % 30 != 0; }

// The zone change that explains the median, with the setting that makes it;
// quarter-hour steps only where a quarter-hour zone is involved.
bool explainByZone(double median, const TimeZoneSetting& current, int currentOffset, ClockReport& report) {
    for (double step : {roundTo(median, kHalfHour), roundTo(median, kQuarterHour)}) {
        if (step == 0.0 || std::fabs(median - step) > kZoneStepSlack) continue;
        const int wanted = currentOffset + static_cast<int>(step / 60.0);
        if (std::fmod(step, kHalfHour) != 0.0 && !isQuarterZone(wanted) && !isQuarterZone(currentOffset)) continue;
        const auto suggestion = ClockComparison::settingForOffset(wanted, current);
        if (!suggestion) continue;
        report.verdict = ClockVerdict::TimeZone;
        report.suggested = suggestion;
        report.clockOffSeconds = median - step;
        return true;
    }
    return false;
}

void findOutliers(ClockReport& report) {
    for (const ClockSample& sample : report.samples) {
        if (std::fabs(sample.differenceSeconds - *report.medianSeconds) > ClockComparison::kToleranceSeconds) {
            report.outliers.push_back(sample.recording);
        }
    }
    // Many of them mean the clock moved during the card, not single files.
    if (report.outliers.size() * 3 >= report.samples.size()) report.outliers.clear();
}

const ClockSample* sampleOf(const ClockReport& report, std::size_t recording) {
    for (const ClockSample& sample : report.samples) {
        if (sample.recording == recording) return &sample;
    }
    return nullptr;
}

std::vector<FindingValue> medianValues(const ClockReport& report, double seconds) {
    return {FindingValue::ofSeconds("seconds", std::fabs(seconds)),
            FindingValue::ofInteger("recordings", static_cast<std::int64_t>(report.samples.size())),
            FindingValue::ofSeconds("spread", report.spreadSeconds()),
            FindingValue::ofSeconds("difference", seconds)};
}

void addClockOffFinding(const ClockReport& report, CheckFindings& findings) {
    const double off = report.clockOffSeconds;
    const TextKey key = off > 0 ? TextKey{"check.clock.ahead"} : TextKey{"check.clock.behind"};
    findings.push_back(CheckFinding::make(Severity::Warning, key, {}, medianValues(report, off)));
}

void addSpreadFindings(const ClockReport& report, const std::vector<std::string>& outlierNames,
                       CheckFindings& findings) {
    for (std::size_t i = 0; i < report.outliers.size() && i < outlierNames.size(); ++i) {
        const ClockSample* sample = sampleOf(report, report.outliers[i]);
        if (!sample) continue;
        findings.push_back(CheckFinding::make(
            Severity::Warning, TextKey{"check.clock.outlier"}, outlierNames[i],
            {FindingValue::ofText("recording", outlierNames[i]),
             FindingValue::ofText("difference", ClockComparison::hoursText(sample->differenceSeconds) + " (" +
                                                  std::to_string(std::llround(sample->differenceSeconds)) + " s)"),
             FindingValue::ofSeconds("fromMedian", sample->differenceSeconds - *report.medianSeconds),
             FindingValue::ofSeconds("differenceSeconds", sample->differenceSeconds)}));
    }
    if (report.outliers.empty() && report.spreadSeconds() > 2 * ClockComparison::kToleranceSeconds) {
        findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.clock.spread"}, {},
                                              {FindingValue::ofSeconds("spread", report.spreadSeconds()),
                                               FindingValue::ofSeconds("lowest", *report.lowestSeconds),
                                               FindingValue::ofSeconds("highest", *report.highestSeconds)}));
    }
}

}  // namespace

std::optional<int> TimeZoneSetting::utcOffsetMinutes() const {
    const auto zone = TimeZoneList::offsetMinutes(timeGmt);
    if (!zone) return std::nullopt;
    return *zone + (summerTime ? 60 : 0);
}

std::string TimeZoneSetting::describe() const {
    const std::string label(TimeZoneList::label(timeGmt));
    if (!summerTime) return label;
    return fillFormat(localized("check.clock.zone_with_summer_time"), {label});
}

double ClockReport::spreadSeconds() const {
    if (!lowestSeconds || !highestSeconds) return 0.0;
    return *highestSeconds - *lowestSeconds;
}

bool ClockReport::clockOff() const {
    return verdict != ClockVerdict::NoGpsTime && std::fabs(clockOffSeconds) > ClockComparison::kToleranceSeconds;
}

std::optional<TimeZoneSetting> ClockComparison::settingForOffset(int offsetMinutes, const TimeZoneSetting& current) {
    const auto currentOffset = current.utcOffsetMinutes();
    const auto withSummer = [&](bool summer) -> std::optional<TimeZoneSetting> {
        const auto index = TimeZoneList::indexOfOffset(offsetMinutes - (summer ? 60 : 0));
        if (!index) return std::nullopt;
        return TimeZoneSetting{*index, summer};
    };
    // An hour either way with the zone right is summer time set wrong.
    if (currentOffset && std::abs(offsetMinutes - *currentOffset) == 60) {
        const auto flipped = withSummer(!current.summerTime);
        if (flipped && flipped->timeGmt == current.timeGmt) return flipped;
    }
    if (const auto kept = withSummer(current.summerTime)) return kept;
    return withSummer(!current.summerTime);
}

ClockReport ClockComparison::compare(std::vector<ClockSample> samples, std::optional<TimeZoneSetting> setting) {
    ClockReport report;
    if (setting && setting->utcOffsetMinutes()) report.setting = setting;
    report.samples = std::move(samples);
    if (report.samples.empty()) return report;

    std::vector<double> differences;
    for (const ClockSample& sample : report.samples) differences.push_back(sample.differenceSeconds);
    const double median = medianOf(differences);
    report.medianSeconds = median;
    report.lowestSeconds = *std::min_element(differences.begin(), differences.end());
    report.highestSeconds = *std::max_element(differences.begin(), differences.end());
    findOutliers(report);

    report.verdict = ClockVerdict::CameraClock;
    report.clockOffSeconds = median;
    if (!report.setting) {
        // Whatever the zone, it is a whole number of quarter hours.
        report.clockOffSeconds = median - roundTo(median, kQuarterHour);
        if (std::fabs(report.clockOffSeconds) <= kToleranceSeconds) report.verdict = ClockVerdict::InStep;
        return report;
    }
    if (std::fabs(median) <= kToleranceSeconds) {
        report.verdict = ClockVerdict::InStep;
        return report;
    }
    explainByZone(median, *report.setting, *report.setting->utcOffsetMinutes(), report);
    return report;
}

std::string ClockComparison::hoursText(double seconds) {
    const long long minutes = std::llround(std::fabs(seconds) / 60.0);
    char text[32];
    std::snprintf(text, sizeof text, "%c%lld:%02lld", seconds < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return text;
}

void ClockComparison::addFindings(const ClockReport& report, const std::vector<std::string>& outlierNames,
                                  CheckFindings& findings) {
    if (report.verdict == ClockVerdict::NoGpsTime) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.clock.no_gps"}, {}, {}));
        return;
    }
    const double median = *report.medianSeconds;
    if (!report.setting) {
        findings.push_back(CheckFinding::make(
            Severity::Info, TextKey{"check.clock.no_zone"}, {},
            {FindingValue::ofText("utcDifference", hoursText(median)),
             FindingValue::ofInteger("recordings", static_cast<std::int64_t>(report.samples.size())),
             FindingValue::ofSeconds("difference", median)}));
    } else if (report.verdict == ClockVerdict::InStep) {
        findings.push_back(
            CheckFinding::make(Severity::Info, TextKey{"check.clock.in_step"}, {}, medianValues(report, median)));
    } else if (report.verdict == ClockVerdict::TimeZone) {
        const TimeZoneSetting& suggested = *report.suggested;
        findings.push_back(CheckFinding::make(
            Severity::Warning, TextKey{"check.clock.time_zone"}, {},
            {FindingValue::ofText("hours", hoursText(median - report.clockOffSeconds)),
             FindingValue::ofText("setting", report.setting->describe()),
             FindingValue::ofText("suggested", suggested.describe()),
             FindingValue::ofInteger("suggestedTimeGmt", suggested.timeGmt),
             FindingValue::ofInteger("suggestedSummerTime", suggested.summerTime ? 1 : 0),
             FindingValue::ofSeconds("difference", median)}));
    }
    if (report.clockOff()) addClockOffFinding(report, findings);
    addSpreadFindings(report, outlierNames, findings);
}

}  // namespace zentrova
