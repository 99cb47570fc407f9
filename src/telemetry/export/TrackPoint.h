#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

// One exported point of a track: the last state of the fix for one fix time
// (or one position, while the time stays the same).
struct TrackPoint {
    std::size_t record = 0;      // the record whose sentence left this state
    std::size_t timeRecord = 0;  // the record that brought this fix time
    double latitude = 0.0;   // signed decimal degrees
    double longitude = 0.0;  // signed decimal degrees
    std::optional<std::string> time;  // ISO 8601 UTC
    std::optional<std::int64_t> utcMilliseconds;  // the same time, since 1970
    std::uint32_t satellites = 0;
    double hdop = 0.0;
    double speedMetresPerSecond = 0.0;
    double course = 0.0;  // degrees, as sent
};

// Runs of consecutive valid points; a sentence that leaves no valid fix ends a run.
using TrackSegments = std::vector<std::vector<TrackPoint>>;

}  // namespace zentrova
