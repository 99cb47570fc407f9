#pragma once

#include "telemetry/FixPosition.h"
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/ORVGpsData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// What the telemetry display shows for a play position: the G-sensor and GPS
// label texts and the map page calls, computed from one recording's
// telemetry without touching any window.
class ORVTelemetryReadout {
public:
    struct GSensorTexts {
        std::string x;
        std::string y;
        std::string z;
        bool operator==(const GSensorTexts&) const = default;
    };

    // Signed decimal degrees, as fixPosition() gives them.
    using MapPosition = GeoPosition;

    enum class SpeedUnit { KilometresPerHour, MilesPerHour };

    struct GpsTexts {
        // False when the recording has no raw GPS block at all; the page then
        // gets kNoGpsDataScript as its only call.
        bool hasGpsData = false;
        // False when no fix was parsed; the labels then show the no-fix texts.
        bool hasFix = false;
        // Absent when the speed label keeps its text: fixes without any raw
        // block to say the unit.
        std::optional<std::string> speed;
        // The same speed apart: its number ("18", "-") and its unit, for a
        // window that names the unit in its own words.
        std::string speedValue;
        SpeedUnit speedUnit = SpeedUnit::KilometresPerHour;
        // The receiver marked the fix shown valid and it has a place: only
        // then are speed, HDOP and satellites real readings.
        bool fixValid = false;
        std::string hdop;
        std::string satellites;
        // The fix's position, when there is a fix and a raw block.
        std::optional<MapPosition> position;
        // The one call for the map page ("setLatLag(...)" or the no-data
        // notice); empty when the page gets none.
        std::string mapScript;
    };

    static constexpr std::string_view kGSensorXFormat = "X=%@%.2lf";
    static constexpr std::string_view kGSensorYFormat = "Y=%@%.2lf";
    static constexpr std::string_view kGSensorZFormat = "Z=%@%.2lf";
    static constexpr std::string_view kKilometresFormat = "%d Km/h";
    static constexpr std::string_view kMilesFormat = "%d Mi/h";
    static constexpr std::string_view kSpeedValueFormat = "%d";
    static constexpr std::string_view kHdopFormat = "%.1f";
    static constexpr std::string_view kSatellitesFormat = "%d";
    static constexpr std::string_view kNoFixSpeed = "- Km/h";
    static constexpr std::string_view kNoFixSpeedValue = "-";
    static constexpr std::string_view kNoFixHdop = "-.-";
    static constexpr std::string_view kNoFixSatellites = "-";
    static constexpr std::string_view kSetLatLagFormat = "setLatLag('%lf','%lf')";
    static constexpr std::string_view kNoGpsDataScript = "ORVDebug('GPS Data Count=Zero')";
    static constexpr double kKilometresPerKnot = 1.852;
    static constexpr double kMilesPerKnot = 1.150779;

    // Entry shown for a play position in a list of count entries:
    // min(trunc(position x count), count - 1). The position is held to 0..1
    // (NaN counts as 0); a count of 0 gives 0, which the caller must not read.
    static std::size_t indexForPosition(double position, std::size_t count);

    // The label texts at the start of every recording.
    static GSensorTexts startGSensorTexts();
    // One axis label: "+" before values above 0, the value's own sign
    // otherwise, two decimals.
    static std::string axisText(std::string_view format, double value);
    // The sample's texts for the position; none when the recording has no
    // samples (the labels keep their texts).
    static std::optional<GSensorTexts> gsensorTexts(const ORVBlackBoxData& data, double position);

    static GpsTexts gpsTexts(const ORVBlackBoxData& data, double position);
    // Speed over ground in the unit the raw block's unit byte names.
    static std::string speedText(double knots, std::uint8_t unit);
    static SpeedUnit speedUnitOf(std::uint8_t unit);
    static double speedInUnit(double knots, std::uint8_t unit);
    // The page call for a position, longitude first; always "." as the
    // decimal point, whatever the process locale.
    static std::string setLatLagScript(const MapPosition& position);

    // Whether a position can be a place on the map: finite, in range, and not
    // the (0, 0) that a receiver without a fix leaves behind.
    static bool isPlottable(const MapPosition& position);
    // The plottable positions of all fixes in order, repeats of the same
    // place shown once, for the recording's route line.
    static std::vector<MapPosition> route(const ORVBlackBoxData& data);
};

}  // namespace zentrova
