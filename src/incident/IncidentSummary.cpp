#include "incident/IncidentSummary.h"

#include <cmath>

namespace zentrova {

std::optional<std::int64_t> IncidentSummary::gpsStartLocal() const {
    if (!telemetry || !telemetry->gpsStartUtcMilliseconds || !timeZone) return std::nullopt;
    const auto offset = timeZone->utcOffsetMinutes();
    if (!offset) return std::nullopt;
    return static_cast<std::int64_t>(std::llround(static_cast<double>(*telemetry->gpsStartUtcMilliseconds) / 1000.0)) +
           *offset * 60LL;
}

std::optional<std::int64_t> IncidentSummary::gpsUtcMillisecondsAt(double atSeconds) const {
    if (!telemetry || !telemetry->gpsStartUtcMilliseconds) return std::nullopt;
    return *telemetry->gpsStartUtcMilliseconds + std::llround(atSeconds * 1000.0);
}

std::optional<std::int64_t> IncidentSummary::cameraTimeAt(double atSeconds) const {
    if (!nameStart) return std::nullopt;
    return *nameStart + static_cast<std::int64_t>(std::floor(atSeconds));
}

}  // namespace zentrova
