#pragma once

#include "ByteAppender.h"

#include <cstdint>
#include <vector>

namespace zentrova::samplecard {

// One 40-byte drive-log record, field by field as the camera stores them.
struct DriveLogRecord {
    std::uint16_t sequence = 0;
    std::uint8_t dayOfWeek = 0;  // 0 Sunday
    std::uint8_t status = 1;     // 1 "A", 2 "F", else "V"
    std::uint8_t yearSince1900 = 0;
    std::uint8_t month = 1, day = 1, hour = 0, minute = 0, second = 0;
    std::uint16_t latitudeDegreesMinutes = 0;  // ddmm
    std::uint16_t latitudeFraction = 0;        // four decimals of the minute
    std::uint16_t longitudeDegreesMinutes = 0; // dddmm
    std::uint16_t longitudeFraction = 0;
    std::uint16_t speed = 0;
    std::uint32_t distanceTenths = 0;
    std::uint32_t unused24 = 0;
    std::uint16_t maximumSpeed = 0;
    std::int8_t unused30 = 0;
    std::int8_t unused31 = 0;
    std::int16_t x = 0, y = 0, z = 0;  // 1/256 units
    std::int16_t batteryTenths = 0;
};

// The drive-log file: a 12-byte header (record count, then 8 bytes the
// reader does not look at) and the records back to back, little-endian.
class DriveLogWriter {
public:
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kRecordSize = 40;

    static Bytes encode(const std::vector<DriveLogRecord>& records);
    static void appendRecord(Bytes& out, const DriveLogRecord& record);
    // Splits decimal degrees into the ddmm and four-decimal fields.
    static void splitDegrees(double degrees, std::uint16_t& degreesMinutes, std::uint16_t& fraction);
};

}  // namespace zentrova::samplecard
