#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

class ORVBlackBoxData;

// A valid fix of a recording, as the route files give it.
struct FixFact {
    double latitude = 0.0;   // signed decimal degrees
    double longitude = 0.0;
    std::optional<std::int64_t> utcMilliseconds;
    double kilometresPerHour = 0.0;
    std::size_t record = 0;
    std::optional<double> atSeconds;  // into the recording
};

struct GSensorFact {
    double x = 0.0, y = 0.0, z = 0.0;  // in g
    double magnitude = 0.0;            // of the three axes together
    std::size_t record = 0;
    std::optional<double> atSeconds;
};

// What one front recording's telemetry says, for the card check and the
// incident summary.
struct TelemetryFacts {
    std::size_t records = 0;
    // Points of the route: one per fix time.
    std::size_t validFixes = 0;
    std::optional<FixFact> first;
    std::optional<FixFact> last;
    std::optional<FixFact> fastest;
    std::optional<GSensorFact> strongest;
    // The length of the recording over its records, when the length is known.
    std::optional<double> secondsPerRecord;
    // When the recording started by GPS: each fix time less the fix's place
    // in the recording, the median over the fixes.
    std::optional<std::int64_t> gpsStartUtcMilliseconds;

    static TelemetryFacts of(const ORVBlackBoxData& data, std::optional<double> lengthSeconds);
};

}  // namespace zentrova
