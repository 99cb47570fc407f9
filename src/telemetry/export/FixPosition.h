#pragma once

#include "telemetry/ORVGpsData.h"

#include <optional>

namespace zentrova {

// A position in signed decimal degrees.
struct GeoPosition {
    double latitude = 0.0;
    double longitude = 0.0;
};

// The fix's position as the telemetry display shows it: the hemisphere sign
// applied to the NMEA numbers ("N" and "E" positive, any other letter
// negative), then NMEAToDegrees.
GeoPosition fixPosition(const ORVGpsData& fix);

// The position of a fix worth exporting as a point: none when the receiver
// had no valid fix, when the position was never set (both numbers 0), or
// when it lies outside the globe (a damaged sentence), which no track format
// can hold.
std::optional<GeoPosition> exportablePosition(const ORVGpsData& fix);

}  // namespace zentrova
