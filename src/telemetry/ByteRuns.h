#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace zentrova {

// Text is looked at eight bytes at a time: one 64-bit word holds a run, and
// a mask holds the high bit of every byte of the run that matters. Byte k of
// the run is bits 8k..8k+7 of the word whatever the host's byte order, as
// the loads below say so.

constexpr std::size_t kRunSize = sizeof(std::uint64_t);
constexpr std::uint64_t kRunOnes = 0x0101010101010101u;
constexpr std::uint64_t kRunHighs = 0x8080808080808080u;
constexpr std::uint64_t kRunLows = 0x7F7F7F7F7F7F7F7Fu;

// The kRunSize bytes at bytes: one load on a little-endian host.
inline std::uint64_t loadRun(const std::uint8_t* bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    } else {
        std::uint64_t word = 0;
        for (std::size_t k = 0; k < kRunSize; ++k) word |= std::uint64_t{bytes[k]} << (8 * k);
        return word;
    }
}

// The count (< kRunSize) bytes at bytes, the rest of the run NUL.
inline std::uint64_t loadShortRun(const std::uint8_t* bytes, std::size_t count) {
    std::uint8_t run[kRunSize] = {};
    std::memcpy(run, bytes, std::min(count, kRunSize));
    return loadRun(run);
}

// The bytes of word that equal byte, exactly: no borrow runs from one byte
// into the next, as the low seven bits are added apart from the high one.
inline std::uint64_t bytesEqual(std::uint64_t word, std::uint8_t byte) {
    const std::uint64_t x = word ^ (kRunOnes * byte);
    return ~(((x & kRunLows) + kRunLows) | x | kRunLows);
}

// The bytes of word at or above 0x80.
inline std::uint64_t nonAsciiBytes(std::uint64_t word) {
    return word & kRunHighs;
}

// The position in its run of the first byte in a non-empty mask.
inline std::size_t firstByteOf(std::uint64_t mask) {
    return static_cast<std::size_t>(std::countr_zero(mask)) / 8;
}

}  // namespace zentrova
