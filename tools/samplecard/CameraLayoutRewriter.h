#pragma once

#include "Mp4Box.h"
#include "TelemetryRecord.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrova::samplecard {

struct RewriteResult {
    std::optional<Bytes> file;  // none on failure
    std::string error;
};

// Turns an MP4 file as ffmpeg writes it (ftyp, free, mdat, moov) into the
// camera's layout: ftyp (major brand avc1), one mdat holding the media data
// and then the telemetry chunks, and moov with the telemetry track as its
// fifth child. Every chunk offset of the existing tracks is moved by the
// shift of the media data, so the video and sound still play.
class CameraLayoutRewriter {
public:
    std::uint32_t recordsPerSecond = 10;

    RewriteResult rewrite(std::span<const std::uint8_t> input, const std::vector<TelemetryRecord>& records) const;

private:
    struct Parts {
        Mp4Box ftyp;
        Mp4Box mdat;
        Mp4Box moov;
    };
    static std::optional<Parts> splitTopLevel(std::vector<Mp4Box> boxes, std::string& error);
    static bool moveChunkOffsets(Mp4Box& moov, std::int64_t shift, std::string& error);
    static bool moveTableEntries(Mp4Box& table, std::int64_t shift);
    static bool claimTrackId(Mp4Box& mvhd, std::uint32_t& trackId, std::uint32_t& timescale);
    void insertTelemetryTrack(Mp4Box& moov, Mp4Box track) const;
};

}  // namespace zentrova::samplecard
