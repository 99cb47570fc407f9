#include "telemetry/FixPosition.h"

#include "telemetry/NMEAToDegrees.h"

#include <cmath>

namespace zentrova {

GeoPosition fixPosition(const ORVGpsData& fix) {
    double latitude = std::fabs(fix.Latitude);
    double longitude = std::fabs(fix.Longitude);
    if (fix.NS != 'N') latitude = -latitude;
    if (fix.EW != 'E') longitude = -longitude;
    GeoPosition position;
    NMEAToDegrees(latitude, longitude, &position.latitude, &position.longitude);
    return position;
}

}  // namespace zentrova
