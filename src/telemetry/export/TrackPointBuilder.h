#pragma once

#include "telemetry/ORVGpsData.h"
#include "telemetry/export/TelemetryRow.h"
#include "telemetry/export/TrackPoint.h"

#include <optional>
#include <span>
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

    // One point per fix time: the state after the last sentence that kept
    // that time, since the receiver's sentences of one second each fill in
    // part of the fix (time, then position, then satellites). A position
    // that changes while the time stays (a receiver without a time, or
    // several positions a second) gives a point of its own; the position
    // carried over from the time before into the new time's first
    // sentences does not. Split where valid fixes stop. snapshots are the
    // extraction's m_NMEAs, rows its rows.
    static TrackSegments segments(const std::vector<TelemetryRow>& rows, std::span<const ORVGpsData> snapshots);

    static std::size_t pointCount(const TrackSegments& segments);

    // The number of fix snapshots the extraction appends for a record's
    // stored text: its "$G" sentences ended by CR, LF or NUL.
    static std::uint32_t sentencesIn(std::string_view text);
};

}  // namespace zentrova
