#include "telemetry/export/ExportablePosition.h"

#include <cmath>

namespace zentrova {

std::optional<GeoPosition> exportablePosition(const ORVGpsData& fix) {
    if (fix.gpsValid == 0) return std::nullopt;
    if (fix.Latitude == 0.0 && fix.Longitude == 0.0) return std::nullopt;
    const GeoPosition position = fixPosition(fix);
    // Also false for NaN.
    const bool onTheGlobe = std::fabs(position.latitude) <= 90.0 && std::fabs(position.longitude) <= 180.0;
    if (!onTheGlobe) return std::nullopt;
    return position;
}

}  // namespace zentrova
