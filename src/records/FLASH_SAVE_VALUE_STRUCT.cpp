#include "records/FLASH_SAVE_VALUE_STRUCT.h"

namespace zentrova {
namespace {

std::uint16_t u16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::int16_t s16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int16_t>(u16At(bytes, offset));
}

std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(u16At(bytes, offset)) |
           (static_cast<std::uint32_t>(u16At(bytes, offset + 2)) << 16);
}

}  // namespace

FLASH_SAVE_VALUE_STRUCT FLASH_SAVE_VALUE_STRUCT::fromBytes(std::span<const std::uint8_t> bytes) {
    FLASH_SAVE_VALUE_STRUCT r;
    r.seq = u16At(bytes, 0);
    r.yoil = bytes[2];
    r.value = bytes[3];
    r.year = bytes[4];
    r.month = bytes[5];
    r.day = bytes[6];
    r.hour = bytes[7];
    r.minute = bytes[8];
    r.second = bytes[9];
    r.lat_ddmm = u16At(bytes, 10);
    r.lat_mmmm = u16At(bytes, 12);
    r.lon_dddmm = u16At(bytes, 14);
    r.lon_mmmm = u16At(bytes, 16);
    r.cur_speed = u16At(bytes, 18);
    r.driving_distance = u32At(bytes, 20);
    r.reserved24 = u32At(bytes, 24);
    r.max_speed = u16At(bytes, 28);
    r.reserved30 = static_cast<std::int8_t>(bytes[30]);
    r.reserved31 = static_cast<std::int8_t>(bytes[31]);
    r.x = s16At(bytes, 32);
    r.y = s16At(bytes, 34);
    r.z = s16At(bytes, 36);
    r.battery = s16At(bytes, 38);
    return r;
}

}  // namespace zentrova
