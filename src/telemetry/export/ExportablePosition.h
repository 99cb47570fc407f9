#pragma once

#include "telemetry/FixPosition.h"
#include "telemetry/ORVGpsData.h"

#include <optional>

namespace zentrova {

// The position of a fix worth exporting as a point: none when the receiver
// had no valid fix, when the position was never set (both numbers 0), or
// when it lies outside the globe (a damaged sentence), which no track format
// can hold.
std::optional<GeoPosition> exportablePosition(const ORVGpsData& fix);

}  // namespace zentrova
