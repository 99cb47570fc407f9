#pragma once

#include "telemetry/ORVGSensor.h"
#include "telemetry/ORVGpsData.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zentrova {

// One telemetry record with the GPS fix as it stood after its sentences.
struct TelemetryRow {
    std::size_t record = 0;
    std::uint32_t timeValue = 0;
    ORVGSensor gsensor;
    std::uint8_t unit = 0;  // the GPS block's speed unit byte
    // "$G" sentences the record brought (each added one fix snapshot), and
    // the index of the first of those snapshots in the extraction's list.
    std::uint32_t sentences = 0;
    std::size_t firstSnapshot = 0;
    // None while no sentence has been seen in the file yet.
    std::optional<ORVGpsData> fix;
};

}  // namespace zentrova
