#pragma once

#include "check/Mp4Index.h"
#include "telemetry/ByteSource.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zentrova {

// Reads the index of an MP4 file: the top-level boxes, and inside "moov"
// the movie header and each track's media header and handler. Only box
// headers and those small boxes are read, never the media data or the
// sample tables, and the walk is bounded in depth and in boxes: a camera
// file costs a few dozen small reads, a damaged or hostile one a few
// thousand at most.
class Mp4IndexReader {
public:
    // Boxes looked at in one container before the rest is taken as damage.
    static constexpr std::size_t kMostBoxesPerContainer = 1024;
    // Box headers read in one file before the rest is taken as damage.
    static constexpr std::size_t kMostBoxesPerFile = 4096;

    static Mp4Index read(ByteSource& source);

private:
    struct BoxHeader {
        std::uint64_t start = 0;
        std::uint64_t headerSize = 8;
        std::uint64_t size = 0;  // whole box; to the container's end for size 0
        char type[4] = {};
        bool is(std::string_view code) const { return code.size() == 4 && std::string_view(type, 4) == code; }
        std::uint64_t end() const { return start + size; }
        std::uint64_t payload() const { return start + headerSize; }
    };
    enum class HeaderResult { Read, End, Short, Malformed, OverBudget };
    struct Walk {
        ByteSource& source;
        std::size_t headersLeft = kMostBoxesPerFile;
    };

    static HeaderResult readHeader(Walk& walk, std::uint64_t at, std::uint64_t containerEnd, BoxHeader& header);
    static void readTopLevel(Walk& walk, Mp4Index& index);
    static bool readMovie(Walk& walk, const BoxHeader& moov, Mp4Index& index);
    static void readTrack(Walk& walk, const BoxHeader& trak, Mp4Index& index);
    // Seconds of an "mvhd" or "mdhd" payload (version 0 or 1); none when
    // the box is short or its time scale is 0.
    static std::optional<double> headerSeconds(ByteSource& source, const BoxHeader& box);
    static std::optional<std::uint32_t> handlerType(ByteSource& source, const BoxHeader& hdlr);
};

}  // namespace zentrova
