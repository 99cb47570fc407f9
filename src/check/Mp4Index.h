#pragma once

#include <cstdint>
#include <optional>

namespace zentrova {

// What is wrong with a recording file, judged from its box structure.
enum class Mp4Fault {
    None,
    Unreadable,    // the file cannot be opened or read
    Empty,         // 0 bytes
    NotMp4,        // the first box is not "ftyp"
    Damaged,       // a box header that cannot be (a size below its header)
    CutOff,        // a box runs past the end of the file
    NoIndex,       // whole boxes, but no "moov"
    DamagedIndex,  // a "moov" without a usable movie header
    NoVideoTrack,  // an index without a video track
};

// The index of one MP4 file as far as the card check needs it.
struct Mp4Index {
    Mp4Fault fault = Mp4Fault::None;
    std::uint64_t fileSize = 0;
    // Where the boxes say the file should end, when that lies past its end.
    std::optional<std::uint64_t> announcedSize;
    // Where a box header could not be, for Damaged.
    std::optional<std::uint64_t> damagedAt;
    bool hasIndex = false;  // a whole "moov" with a movie header
    std::optional<double> movieSeconds;  // "mvhd" duration over its time scale
    std::optional<double> videoSeconds;  // the first video track's "mdhd"
    int tracks = 0;
    int videoTracks = 0;
    int audioTracks = 0;

    // A readable index with a video track: players can open the file, even
    // when it was cut off after its index.
    bool plays() const { return hasIndex && videoTracks > 0; }
    // The video's length where known, else the movie's.
    std::optional<double> lengthSeconds() const { return videoSeconds ? videoSeconds : movieSeconds; }
};

}  // namespace zentrova
