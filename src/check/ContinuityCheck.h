#pragma once

#include "check/CheckFinding.h"
#include "recordings/ORVMedia.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

// A recording on the camera's clock, as the continuity check needs it.
struct TimedRecording {
    std::size_t recording = 0;  // index in the check's list
    ORVMediaDivision mode = ORVMediaDivisionAlways;
    std::int64_t start = 0;     // file-name time, CivilSeconds
    std::optional<double> lengthSeconds;
    // Speed at the first and the last valid fix, where there was one.
    std::optional<double> kilometresPerHourAtStart;
    std::optional<double> kilometresPerHourAtEnd;
};

// Time between two continuous recordings of which more than the tolerance
// no recording of another mode covers.
struct RecordingGap {
    std::size_t before = 0;  // recordings around it
    std::size_t after = 0;
    double from = 0.0;       // CivilSeconds, with fractions
    double to = 0.0;
    double uncoveredSeconds = 0.0;
    bool whileMoving = false;
    double seconds() const { return to - from; }
};

// A continuous recording that starts before the previous one ends.
struct RecordingOverlap {
    std::size_t earlier = 0;
    std::size_t later = 0;
    double seconds = 0.0;
};

struct DayContinuity {
    std::string date;  // "2024-06-14", by the file names
    std::size_t continuousRecordings = 0;
    std::int64_t firstStart = 0;
    double lastEnd = 0.0;
    std::vector<RecordingGap> gaps;
    std::vector<RecordingOverlap> overlaps;
};

// Gaps and overlaps of the continuous recordings, day by day. A recording
// of unknown length (its file is damaged and reported as such) is taken to
// run until the next one starts, so it causes no gap of its own.
class ContinuityCheck {
public:
    static constexpr double kGapToleranceSeconds = 3.0;
    static constexpr double kOverlapToleranceSeconds = 2.0;
    // Faster than this at either side of a gap, the car was driving.
    static constexpr double kMovingKilometresPerHour = 5.0;

    // recordings in any order, every mode (the others cover gaps).
    static std::vector<DayContinuity> days(std::vector<TimedRecording> recordings);

    // nameOf(i) names recording i.
    static void addFindings(const std::vector<DayContinuity>& days, const std::vector<std::string>& names,
                            CheckFindings& findings);

private:
    // How much of [from, to] no recording of another mode covers.
    static double uncovered(double from, double to, const std::vector<TimedRecording>& others);
};

}  // namespace zentrova
