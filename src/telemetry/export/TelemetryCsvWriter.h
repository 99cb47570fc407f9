#pragma once

#include "telemetry/export/TelemetryRow.h"

#include <string>
#include <vector>

namespace zentrova {

// One CSV row per telemetry record: time value, G-sensor x/y/z and the fix
// as it stood after the record's sentences. Latitude and longitude are left
// empty while the fix is not valid; speed is in km/h or mi/h by the record's
// unit byte.
class TelemetryCsvWriter {
public:
    static constexpr double kKilometresPerHourPerKnot = 1.852;
    static constexpr double kMilesPerHourPerKnot = 1.150779;

    static std::string write(const std::vector<TelemetryRow>& rows);

private:
    static void appendRow(std::string& out, const TelemetryRow& row);
};

}  // namespace zentrova
