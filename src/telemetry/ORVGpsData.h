#pragma once

#include "telemetry/PAIR.h"
#include "telemetry/SYSTEMTIME.h"

#include <array>
#include <cstdint>

namespace zentrova {

// The GPS fix as it is assembled from successive NMEA sentences.
class ORVGpsData {
public:
    static constexpr int kChannelCount = 12;

    void clear() { *this = ORVGpsData(); }
    void updateFromObject(const ORVGpsData& other) { *this = other; }
    ORVGpsData duplicate() const;

    // Indexed accessors; an index outside 0-11 reads as empty and is not stored.
    PAIR SVonChannelAtIndex(std::int32_t index) const;
    void setSVonChannel(PAIR pair, std::int32_t index);
    void setSVonChannelWithFirst(std::uint8_t first, std::uint8_t second, std::int32_t index);
    void setSVonChannelWithFirst(std::uint8_t first, std::int32_t index);
    void setSVonChannelWithSecond(std::uint8_t second, std::int32_t index);
    std::uint8_t SatelliteUsedAtIndex(std::int32_t index) const;
    void setSatelliteUsed(std::uint8_t number, std::int32_t index);

    bool operator==(const ORVGpsData&) const = default;

    std::array<PAIR, kChannelCount> SVonChannel{};
    std::array<std::uint8_t, kChannelCount> SatelliteUsed{};
    char NS = 'N';
    char EW = 'E';
    std::uint8_t Enable_GNGNS = 0;
    std::uint8_t Enable_GNGSA = 0;
    std::uint8_t Cnt_GNGSA = 0;
    std::uint8_t gpsValid = 0;
    std::uint32_t SatelliteCount = 0;
    std::uint32_t SatelliteUsedCount = 0;
    std::uint32_t SatelliteUsedCount_GPS = 0;
    std::uint32_t SatelliteUsedCount_GLONASS = 0;
    double PDOP = 0.0;
    double HDOP = 0.0;
    double VDOP = 0.0;
    double Latitude = 0.0;   // ddmm.mmmm as sent, no sign
    double Longitude = 0.0;  // dddmm.mmmm as sent, no sign
    double SpeedOverGround = 0.0;   // knots
    double CourseOverGround = 0.0;  // degrees
    SYSTEMTIME Now{};
};

}  // namespace zentrova
