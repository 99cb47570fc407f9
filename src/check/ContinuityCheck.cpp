#include "check/ContinuityCheck.h"

#include "check/CivilSeconds.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace zentrova {
namespace {

bool moving(const std::optional<double>& speed) {
    return speed && *speed >= ContinuityCheck::kMovingKilometresPerHour;
}

std::int64_t wholeSeconds(double seconds) { return static_cast<std::int64_t>(std::floor(seconds)); }

const std::string& nameOf(const std::vector<std::string>& names, std::size_t index) {
    static const std::string none;
    return index < names.size() ? names[index] : none;
}

}  // namespace

double ContinuityCheck::uncovered(double from, double to, const std::vector<TimedRecording>& others) {
    std::vector<std::pair<double, double>> pieces{{from, to}};
    for (const TimedRecording& other : others) {
        if (!other.lengthSeconds) continue;
        const double start = static_cast<double>(other.start);
        const double end = start + *other.lengthSeconds;
        std::vector<std::pair<double, double>> left;
        for (const auto& [a, b] : pieces) {
            if (end <= a || start >= b) {
                left.emplace_back(a, b);
                continue;
            }
            if (start > a) left.emplace_back(a, start);
            if (end < b) left.emplace_back(end, b);
        }
        pieces = std::move(left);
    }
    double seconds = 0.0;
    for (const auto& [a, b] : pieces) seconds += b - a;
    return seconds;
}

std::vector<DayContinuity> ContinuityCheck::days(std::vector<TimedRecording> recordings) {
    std::sort(recordings.begin(), recordings.end(),
              [](const TimedRecording& a, const TimedRecording& b) { return a.start < b.start; });
    std::vector<TimedRecording> continuous, others;
    for (const TimedRecording& recording : recordings) {
        (recording.mode == ORVMediaDivisionAlways ? continuous : others).push_back(recording);
    }
    std::map<std::string, DayContinuity> byDate;
    for (std::size_t i = 0; i < continuous.size(); ++i) {
        const TimedRecording& recording = continuous[i];
        const std::string date = CivilSeconds::dateText(recording.start);
        DayContinuity& day = byDate[date];
        const double start = static_cast<double>(recording.start);
        const bool nextKnown = i + 1 < continuous.size();
        const double nextStart = nextKnown ? static_cast<double>(continuous[i + 1].start) : start;
        const double end = recording.lengthSeconds ? start + *recording.lengthSeconds : std::max(start, nextStart);
        if (day.continuousRecordings++ == 0) {
            day.date = date;
            day.firstStart = recording.start;
        }
        day.lastEnd = std::max(day.lastEnd, end);
        if (!nextKnown) continue;
        const TimedRecording& next = continuous[i + 1];
        if (nextStart < end - kOverlapToleranceSeconds) {
            day.overlaps.push_back({recording.recording, next.recording, end - nextStart});
            continue;
        }
        if (nextStart - end <= kGapToleranceSeconds) continue;
        const double open = uncovered(end, nextStart, others);
        if (open <= kGapToleranceSeconds) continue;
        const bool whileMoving = moving(recording.kilometresPerHourAtEnd) || moving(next.kilometresPerHourAtStart);
        day.gaps.push_back({recording.recording, next.recording, end, nextStart, open, whileMoving});
    }
    std::vector<DayContinuity> result;
    for (auto& [date, day] : byDate) result.push_back(std::move(day));
    return result;
}

void ContinuityCheck::addFindings(const std::vector<DayContinuity>& days, const std::vector<std::string>& names,
                                  CheckFindings& findings) {
    for (const DayContinuity& day : days) {
        findings.push_back(CheckFinding::make(
            Severity::Info, TextKey{"check.day.summary"}, day.date,
            {FindingValue::ofText("date", day.date),
             FindingValue::ofInteger("recordings", static_cast<std::int64_t>(day.continuousRecordings)),
             FindingValue::ofText("from", CivilSeconds::timeText(day.firstStart)),
             FindingValue::ofText("to", CivilSeconds::timeText(wholeSeconds(day.lastEnd))),
             FindingValue::ofInteger("gaps", static_cast<std::int64_t>(day.gaps.size())),
             FindingValue::ofInteger("overlaps", static_cast<std::int64_t>(day.overlaps.size()))}));
        for (const RecordingGap& gap : day.gaps) {
            const TextKey key = gap.whileMoving ? TextKey{"check.day.gap_driving"} : TextKey{"check.day.gap"};
            findings.push_back(CheckFinding::make(
                gap.whileMoving ? Severity::Warning : Severity::Info, key, day.date,
                {FindingValue::ofText("date", day.date),
                 FindingValue::ofText("duration", CivilSeconds::durationText(gap.uncoveredSeconds)),
                 FindingValue::ofText("from", CivilSeconds::timeText(wholeSeconds(gap.from))),
                 FindingValue::ofText("to", CivilSeconds::timeText(wholeSeconds(gap.to))),
                 FindingValue::ofText("before", nameOf(names, gap.before)),
                 FindingValue::ofText("after", nameOf(names, gap.after)),
                 FindingValue::ofSeconds("seconds", gap.uncoveredSeconds),
                 FindingValue::ofSeconds("spanSeconds", gap.seconds())}));
        }
        for (const RecordingOverlap& overlap : day.overlaps) {
            findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.day.overlap"}, day.date,
                                                  {FindingValue::ofText("date", day.date),
                                                   FindingValue::ofText("later", nameOf(names, overlap.later)),
                                                   FindingValue::ofSeconds("seconds", overlap.seconds),
                                                   FindingValue::ofText("earlier", nameOf(names, overlap.earlier))}));
        }
    }
}

}  // namespace zentrova
