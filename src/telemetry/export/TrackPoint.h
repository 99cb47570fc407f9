#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

// One exported point of a track: a record that brought a sentence and left
// a valid fix.
struct TrackPoint {
    std::size_t record = 0;
    double latitude = 0.0;   // signed decimal degrees
    double longitude = 0.0;  // signed decimal degrees
    std::optional<std::string> time;  // ISO 8601 UTC
    std::uint32_t satellites = 0;
    double hdop = 0.0;
    double speedMetresPerSecond = 0.0;
    double course = 0.0;  // degrees, as sent
};

// Runs of consecutive valid points; a record whose fix is not valid ends a run.
using TrackSegments = std::vector<std::vector<TrackPoint>>;

}  // namespace zentrova
