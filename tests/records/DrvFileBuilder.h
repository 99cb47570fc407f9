#pragma once

#include <cstdint>
#include <string>

namespace zentrova::test {

// The bytes of one drive record, written at the file's own offsets so that
// the tests do not depend on our decoding.
struct DrvRecordBytes {
    std::string bytes = std::string(40, '\0');

    DrvRecordBytes& u8(std::size_t offset, unsigned value) {
        bytes[offset] = static_cast<char>(value & 0xFF);
        return *this;
    }
    DrvRecordBytes& u16(std::size_t offset, unsigned value) { return u8(offset, value).u8(offset + 1, value >> 8); }
    DrvRecordBytes& s16(std::size_t offset, int value) { return u16(offset, static_cast<std::uint16_t>(value)); }
    DrvRecordBytes& u32(std::size_t offset, std::uint32_t value) {
        return u16(offset, value & 0xFFFF).u16(offset + 2, value >> 16);
    }
};

// A 12-byte header with the count and eight other bytes, then the records.
inline std::string drvFileBytes(std::uint32_t count, const std::string& records) {
    std::string header(12, '\x5A');
    for (int i = 0; i < 4; ++i) header[static_cast<std::size_t>(i)] = static_cast<char>((count >> (8 * i)) & 0xFF);
    return header + records;
}

// A record whose every field holds a distinct value.
inline DrvRecordBytes sampleDrvRecord(unsigned seq) {
    DrvRecordBytes r;
    r.u16(0, seq).u8(2, 4).u8(3, 1).u8(4, 123).u8(5, 7).u8(6, 9).u8(7, 8).u8(8, 5).u8(9, 3);
    r.u16(10, 3731).u16(12, 512).u16(14, 12658).u16(16, 7).u16(18, 88).u32(20, 123456);
    r.u32(24, 0xDEADBEEF).u16(28, 130).u8(30, 0x80).u8(31, 0x7F);
    r.s16(32, 256).s16(34, -64).s16(36, 0).s16(38, 126);
    return r;
}

}  // namespace zentrova::test
