#include "playback/ORVTelemetryReadout.h"

#include "common/Localization.h"

#include <cmath>

namespace zentrova {

std::size_t ORVTelemetryReadout::indexForPosition(double position, std::size_t count) {
    if (count == 0) return 0;
    // A position outside 0..1 (a player's rounding, or NaN before its first
    // time notice) must never index past the list.
    if (!(position > 0.0)) return 0;
    if (position >= 1.0) return count - 1;
    const auto index = static_cast<std::size_t>(position * static_cast<double>(count));
    return index < count ? index : count - 1;
}

ORVTelemetryReadout::GSensorTexts ORVTelemetryReadout::startGSensorTexts() {
    return {"X=+0.00", "Y=+0.00", "Z=+0.00"};
}

std::string ORVTelemetryReadout::axisText(std::string_view format, double value) {
    const std::string sign = value > 0.0 ? "+" : "";
    // A negative zero is still zero: no sign at all. Values that only round
    // to zero keep printf's "-0.00".
    const double shown = value == 0.0 ? 0.0 : value;
    return fillFormat(format, {sign, fillNumberFormat("%.2lf", {shown})});
}

std::optional<ORVTelemetryReadout::GSensorTexts> ORVTelemetryReadout::gsensorTexts(const ORVBlackBoxData& data,
                                                                                   double position) {
    if (data.m_GSensors.empty()) return std::nullopt;
    const ORVGSensor& sample = data.m_GSensors[indexForPosition(position, data.m_GSensors.size())];
    return GSensorTexts{axisText(kGSensorXFormat, sample.x()), axisText(kGSensorYFormat, sample.y()),
                        axisText(kGSensorZFormat, sample.z())};
}

ORVTelemetryReadout::GpsTexts ORVTelemetryReadout::gpsTexts(const ORVBlackBoxData& data, double position) {
    GpsTexts texts;
    texts.hasGpsData = !data.m_vGpsData.empty();
    texts.hasFix = !data.m_NMEAs.empty();
    if (!texts.hasGpsData) texts.mapScript = std::string(kNoGpsDataScript);

    if (!texts.hasFix) {
        texts.speed = std::string(kNoFixSpeed);
        texts.speedValue = std::string(kNoFixSpeedValue);
        texts.hdop = std::string(kNoFixHdop);
        texts.satellites = std::string(kNoFixSatellites);
        return texts;
    }

    const ORVGpsData& fix = data.m_NMEAs[indexForPosition(position, data.m_NMEAs.size())];
    if (texts.hasGpsData) {
        const ORVAviGpsData& block = data.m_vGpsData[indexForPosition(position, data.m_vGpsData.size())];
        texts.position = fixPosition(fix);
        texts.mapScript = setLatLagScript(*texts.position);
        texts.speed = speedText(fix.SpeedOverGround, block.unit());
        texts.speedValue = fillNumberFormat(kSpeedValueFormat, {speedInUnit(fix.SpeedOverGround, block.unit())});
        texts.speedUnit = speedUnitOf(block.unit());
        texts.fixValid = fix.gpsValid != 0 && isPlottable(*texts.position);
    }
    texts.hdop = fillNumberFormat(kHdopFormat, {fix.HDOP});
    texts.satellites = fillNumberFormat(kSatellitesFormat, {static_cast<double>(fix.SatelliteUsedCount)});
    return texts;
}

std::string ORVTelemetryReadout::speedText(double knots, std::uint8_t unit) {
    // "%d" takes the integer part, as the truncating conversion would.
    const std::string_view format =
        speedUnitOf(unit) == SpeedUnit::KilometresPerHour ? kKilometresFormat : kMilesFormat;
    return fillNumberFormat(format, {speedInUnit(knots, unit)});
}

double ORVTelemetryReadout::speedInUnit(double knots, std::uint8_t unit) {
    return knots * (speedUnitOf(unit) == SpeedUnit::KilometresPerHour ? kKilometresPerKnot : kMilesPerKnot);
}

ORVTelemetryReadout::SpeedUnit ORVTelemetryReadout::speedUnitOf(std::uint8_t unit) {
    return unit == ORVAviGpsData::kKilometresPerHour ? SpeedUnit::KilometresPerHour : SpeedUnit::MilesPerHour;
}

std::string ORVTelemetryReadout::setLatLagScript(const MapPosition& position) {
    return fillNumberFormat(kSetLatLagFormat, {position.longitude, position.latitude});
}

bool ORVTelemetryReadout::isPlottable(const MapPosition& position) {
    const bool finite = std::isfinite(position.latitude) && std::isfinite(position.longitude);
    const bool inRange = std::fabs(position.latitude) <= 90.0 && std::fabs(position.longitude) <= 180.0;
    const bool unset = position.latitude == 0.0 && position.longitude == 0.0;
    return finite && inRange && !unset;
}

std::vector<ORVTelemetryReadout::MapPosition> ORVTelemetryReadout::route(const ORVBlackBoxData& data) {
    std::vector<MapPosition> places;
    for (const ORVGpsData& fix : data.m_NMEAs) {
        const MapPosition position = fixPosition(fix);
        if (!isPlottable(position)) continue;
        // Every sentence snapshots the fix, so one place comes many times.
        if (!places.empty() && places.back() == position) continue;
        places.push_back(position);
    }
    return places;
}

}  // namespace zentrova
