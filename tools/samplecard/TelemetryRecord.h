#pragma once

#include "ByteAppender.h"

#include <cstdint>
#include <string>

namespace zentrova::samplecard {

// One telemetry record as the camera writes it into a chunk of its
// telemetry track: two leading bytes, then the 153-byte record.
struct TelemetryRecord {
    static constexpr std::size_t kChunkSize = 155;
    static constexpr std::size_t kTextSize = 128;

    std::uint32_t time = 0;      // seconds since 1970, UTC
    std::uint32_t timeHigh = 0;  // bytes 4-7 of the time field; here the milliseconds
    std::int32_t x = 0, y = 0, z = 0, t = 0;
    std::uint8_t unit = '9';
    std::string text;  // at most 128 bytes, padded with NUL in the chunk
    std::uint16_t lead = 153;

    // The 155 bytes of the chunk.
    Bytes encodeChunk() const;
};

}  // namespace zentrova::samplecard
