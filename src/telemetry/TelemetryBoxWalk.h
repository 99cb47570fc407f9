#pragma once

#include "telemetry/ByteSource.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace zentrova {

// Where the chunk-offset table of the telemetry track lies.
struct ChunkOffsetTable {
    static constexpr std::uint32_t kHeaderSize = 16;  // size, type, version and flags, entry count
    static constexpr std::uint32_t kEntrySize = 4;

    std::uint32_t firstEntry = 0;  // file position of entry 0
    std::uint32_t entryCount = 0;  // as the table header says; not checked against the file
    std::uint32_t boxSize = 0;     // as the box header says

    // The entries that the header counts and the box holds: a damaged count
    // must not turn what follows the box into chunk offsets.
    std::uint32_t entriesInBox() const {
        const std::uint32_t room = boxSize < kHeaderSize ? 0 : (boxSize - kHeaderSize) / kEntrySize;
        return std::min(entryCount, room);
    }
};

// Follows the camera's fixed box path from the file start to the telemetry
// track's "stco" box. Only box headers are read; positions are 32-bit and
// wrap, as the container's fields are.
class TelemetryBoxWalk {
public:
    // None when a read comes up short or one of the four checks fails
    // ("ftyp", brand "avc1", "moov", "stco").
    static std::optional<ChunkOffsetTable> locate(ByteSource& source);
};

}  // namespace zentrova
