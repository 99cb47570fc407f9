#pragma once

#include <cstdint>

namespace zentrova {

// Byte-wise, so the result does not depend on the host's byte order or on
// the alignment of the data.
inline std::uint32_t readBigEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

inline std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[3]} << 24) | (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[1]} << 8) |
           std::uint32_t{bytes[0]};
}

inline std::int32_t readLittleEndianSigned32(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(readLittleEndian32(bytes));
}

}  // namespace zentrova
