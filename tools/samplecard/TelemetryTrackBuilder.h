#pragma once

#include "Mp4Box.h"

#include <cstdint>
#include <vector>

namespace zentrova::samplecard {

// The camera's telemetry track: {tkhd, edts, mdia {mdhd, hdlr, minf {nmhd,
// dinf, stbl {stsd, stts, stsc, stsz, stco}}}}, one 155-byte sample per chunk.
class TelemetryTrackBuilder {
public:
    static constexpr std::uint32_t kMediaTimescale = 1000;

    std::uint32_t trackId = 1;
    std::uint32_t movieTimescale = 1000;
    std::uint32_t recordsPerSecond = 10;
    std::vector<std::uint32_t> chunkOffsets;

    Mp4Box build() const;

private:
    std::uint32_t mediaDuration() const;
    std::uint32_t movieDuration() const;
    Mp4Box trackHeader() const;
    Mp4Box editList() const;
    Mp4Box mediaHeader() const;
    static Mp4Box handler();
    static Mp4Box dataInformation();
    Mp4Box sampleTable() const;
};

}  // namespace zentrova::samplecard
