#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrova {

// One drive record of the camera's log file: 40 bytes, little-endian, no
// gaps. The members are decoded from the bytes, so the host's byte order and
// packing never matter; the offsets below are the file's.
struct FLASH_SAVE_VALUE_STRUCT {
    static constexpr std::size_t kSize = 40;

    std::uint16_t seq = 0;               // 0
    std::uint8_t yoil = 0;               // 2: day of the week, 0 Sunday to 6 Saturday
    std::uint8_t value = 0;              // 3: status, 1 "A", 2 "F", else "V"
    std::uint8_t year = 0;               // 4: year - 1900
    std::uint8_t month = 0;              // 5
    std::uint8_t day = 0;                // 6
    std::uint8_t hour = 0;               // 7
    std::uint8_t minute = 0;             // 8
    std::uint8_t second = 0;             // 9
    std::uint16_t lat_ddmm = 0;          // 10: degrees and whole minutes
    std::uint16_t lat_mmmm = 0;          // 12: four decimal digits of the minute
    std::uint16_t lon_dddmm = 0;         // 14
    std::uint16_t lon_mmmm = 0;          // 16
    std::uint16_t cur_speed = 0;         // 18
    std::uint32_t driving_distance = 0;  // 20: in tenths
    std::uint32_t reserved24 = 0;        // 24
    std::uint16_t max_speed = 0;         // 28
    std::int8_t reserved30 = 0;          // 30
    std::int8_t reserved31 = 0;          // 31
    std::int16_t x = 0;                  // 32: 1/256 units
    std::int16_t y = 0;                  // 34
    std::int16_t z = 0;                  // 36
    std::int16_t battery = 0;            // 38: tenths of a volt

    // Decodes the first kSize bytes; bytes.size() must be at least kSize.
    static FLASH_SAVE_VALUE_STRUCT fromBytes(std::span<const std::uint8_t> bytes);
};

// The natural layout of these members has the file's offsets; the static
// checks keep a later edit from silently shifting a field.
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, yoil) == 2);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, value) == 3);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, year) == 4);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, second) == 9);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, lat_ddmm) == 10);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, lat_mmmm) == 12);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, lon_dddmm) == 14);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, lon_mmmm) == 16);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, cur_speed) == 18);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, driving_distance) == 20);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, reserved24) == 24);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, max_speed) == 28);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, reserved30) == 30);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, reserved31) == 31);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, x) == 32);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, y) == 34);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, z) == 36);
static_assert(offsetof(FLASH_SAVE_VALUE_STRUCT, battery) == 38);
static_assert(sizeof(FLASH_SAVE_VALUE_STRUCT) == FLASH_SAVE_VALUE_STRUCT::kSize);

}  // namespace zentrova
