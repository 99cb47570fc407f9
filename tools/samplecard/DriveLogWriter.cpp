#include "DriveLogWriter.h"

#include <cmath>

namespace zentrova::samplecard {

Bytes DriveLogWriter::encode(const std::vector<DriveLogRecord>& records) {
    Bytes out;
    out.reserve(kHeaderSize + kRecordSize * records.size());
    ByteAppender append(out);
    append.littleEndian32(static_cast<std::uint32_t>(records.size()));
    append.zeros(8);
    for (const DriveLogRecord& record : records) appendRecord(out, record);
    return out;
}

void DriveLogWriter::appendRecord(Bytes& out, const DriveLogRecord& record) {
    ByteAppender append(out);
    append.littleEndian16(record.sequence);
    append.u8(record.dayOfWeek);
    append.u8(record.status);
    append.u8(record.yearSince1900);
    append.u8(record.month);
    append.u8(record.day);
    append.u8(record.hour);
    append.u8(record.minute);
    append.u8(record.second);
    append.littleEndian16(record.latitudeDegreesMinutes);
    append.littleEndian16(record.latitudeFraction);
    append.littleEndian16(record.longitudeDegreesMinutes);
    append.littleEndian16(record.longitudeFraction);
    append.littleEndian16(record.speed);
    append.littleEndian32(record.distanceTenths);
    append.littleEndian32(record.unused24);
    append.littleEndian16(record.maximumSpeed);
    append.u8(static_cast<std::uint8_t>(record.unused30));
    append.u8(static_cast<std::uint8_t>(record.unused31));
    append.littleEndian16(static_cast<std::uint16_t>(record.x));
    append.littleEndian16(static_cast<std::uint16_t>(record.y));
    append.littleEndian16(static_cast<std::uint16_t>(record.z));
    append.littleEndian16(static_cast<std::uint16_t>(record.batteryTenths));
}

void DriveLogWriter::splitDegrees(double degrees, std::uint16_t& degreesMinutes, std::uint16_t& fraction) {
    const auto units = static_cast<long long>(std::llround(std::abs(degrees) * 60.0 * 10000.0));
    const long long whole = units / (60 * 10000);
    const long long minutes = units % (60 * 10000);
    degreesMinutes = static_cast<std::uint16_t>(whole * 100 + minutes / 10000);
    fraction = static_cast<std::uint16_t>(minutes % 10000);
}

}  // namespace zentrova::samplecard
