#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zentrova {

// The N bytes at block as a record, or N zero bytes for no block. Filled
// either way, so not zeroed first: records are made once per chunk.
template <std::size_t N>
std::array<std::uint8_t, N> recordCopiedFrom(const std::uint8_t* block) {
    std::array<std::uint8_t, N> record;
    if (block) {
        std::memcpy(record.data(), block, N);
    } else {
        record.fill(0);
    }
    return record;
}

}  // namespace zentrova
