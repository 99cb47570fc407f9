#pragma once

#include "telemetry/export/TelemetryRow.h"
#include "telemetry/export/TrackPoint.h"

#include <optional>
#include <string_view>
#include <vector>

namespace zentrova {

class ORVBlackBoxData;

// Turns an extraction's lists into one row per record and into track points.
class TrackPointBuilder {
public:
    static constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;

    // One row per record; none when the lists do not fit together (they
    // always do after an extraction).
    static std::optional<std::vector<TelemetryRow>> rows(const ORVBlackBoxData& data);

    // The points of the rows that brought a sentence, split where valid
    // fixes stop. Rows without a sentence change nothing and split nothing.
    static TrackSegments segments(const std::vector<TelemetryRow>& rows);

    static std::size_t pointCount(const TrackSegments& segments);

    // The number of fix snapshots the extraction appends for a record's
    // stored text: its "$G" sentences ended by CR, LF or NUL.
    static std::uint32_t sentencesIn(std::string_view text);
};

}  // namespace zentrova
