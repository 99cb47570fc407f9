#pragma once

#include "telemetry/ORVGpsData.h"

namespace zentrova {

// A position in signed decimal degrees.
struct GeoPosition {
    double latitude = 0.0;
    double longitude = 0.0;
    bool operator==(const GeoPosition&) const = default;
};

// The fix's position as every view and export shows it: the hemisphere
// sign applied to the NMEA numbers ("N" and "E" positive, any other letter
// negative, whatever sign the number itself has), then NMEAToDegrees.
GeoPosition fixPosition(const ORVGpsData& fix);

}  // namespace zentrova
