#pragma once

#include "check/ClockComparison.h"
#include "check/TelemetryFacts.h"
#include "recordings/ORVMedia.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

// What an incident package says about its recording, for its summary files.
struct IncidentSummary {
    std::string recording;  // group name
    ORVMediaDivision mode = ORVMediaDivisionAlways;
    std::optional<std::int64_t> nameStart;  // the file name's time (CivilSeconds, camera clock)
    std::optional<double> lengthSeconds;
    std::optional<TelemetryFacts> telemetry;
    // The card's time zone (config.bin), for GPS times in local time.
    std::optional<TimeZoneSetting> timeZone;
    // This recording's file-name time less its GPS start in local time.
    std::optional<double> clockDifferenceSeconds;
    // The card check's view of the camera's clock over the whole card.
    std::optional<ClockReport> cardClock;
    std::string cardDirectory;
    std::int64_t createdUtcMilliseconds = 0;
    std::string createdBy;

    // The GPS start in the card's local time (CivilSeconds); none without
    // a GPS time or a time zone.
    std::optional<std::int64_t> gpsStartLocal() const;
    // A place in the recording as UTC by GPS, and as the camera's clock.
    std::optional<std::int64_t> gpsUtcMillisecondsAt(double atSeconds) const;
    std::optional<std::int64_t> cameraTimeAt(double atSeconds) const;
};

}  // namespace zentrova
