#pragma once

#include "check/CheckFinding.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

// The camera's time-zone settings of config.bin, as the GPS page edits them.
struct TimeZoneSetting {
    std::int32_t timeGmt = 14;  // position in the time-zone list
    bool summerTime = false;

    // Minutes of the camera's local time ahead of UTC: the zone, and an hour
    // more in summer time. None for a position outside the list.
    std::optional<int> utcOffsetMinutes() const;
    // "+01:00 with summer time", "+09:00"; the time-zone label as the page shows it.
    std::string describe() const;

    bool operator==(const TimeZoneSetting&) const = default;
};

// One recording's file-name time less its GPS start moved into the camera's
// local time.
struct ClockSample {
    std::size_t recording = 0;  // index in the check's list
    double differenceSeconds = 0.0;
};

enum class ClockVerdict {
    NoGpsTime,    // no recording with a GPS time
    InStep,       // within the tolerance
    TimeZone,     // off by a time zone: the setting does not match the clock
    CameraClock,  // off by something else: the clock itself
};

struct ClockReport {
    // What the differences were measured against; none when config.bin gave
    // no time zone, and then against UTC.
    std::optional<TimeZoneSetting> setting;
    std::vector<ClockSample> samples;
    std::optional<double> medianSeconds;
    std::optional<double> lowestSeconds;
    std::optional<double> highestSeconds;
    ClockVerdict verdict = ClockVerdict::NoGpsTime;
    // TimeZone: the settings that would match the clock.
    std::optional<TimeZoneSetting> suggested;
    // What is left of the median once a time zone explains the rest; the
    // camera's clock is off by this much (0 when it is in step).
    double clockOffSeconds = 0.0;
    // Recordings whose difference is far from the median (renamed, or made
    // while the clock was changed), when they are few.
    std::vector<std::size_t> outliers;

    double spreadSeconds() const;
    bool clockOff() const;
};

// Compares the camera's clock with GPS over the recordings of a card.
class ClockComparison {
public:
    static constexpr double kToleranceSeconds = 2.0;

    static ClockReport compare(std::vector<ClockSample> samples, std::optional<TimeZoneSetting> setting);

    // Settings that put the camera's local time at offsetMinutes ahead of
    // UTC, keeping summer time as it is when that is enough, else changing
    // it too; none when no zone of the list gives that offset.
    static std::optional<TimeZoneSetting> settingForOffset(int offsetMinutes, const TimeZoneSetting& current);

    // Findings about the clock; outlierNames names the report's outliers in order.
    static void addFindings(const ClockReport& report, const std::vector<std::string>& outlierNames,
                            CheckFindings& findings);

    // A difference as signed hours and minutes: "+1:00", "-7:00", "+5:45".
    static std::string hoursText(double seconds);
};

}  // namespace zentrova
