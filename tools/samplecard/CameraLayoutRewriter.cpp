#include "CameraLayoutRewriter.h"

#include "TelemetryTrackBuilder.h"

#include <limits>

namespace zentrova::samplecard {
namespace {

// The camera's reader enters the fifth child of moov.
constexpr std::size_t kTelemetryTrackIndex = 4;

bool isPadding(const std::string& type) { return type == "free" || type == "skip" || type == "wide"; }

}  // namespace

RewriteResult CameraLayoutRewriter::rewrite(std::span<const std::uint8_t> input,
                                            const std::vector<TelemetryRecord>& records) const {
    RewriteResult result;
    std::optional<std::vector<Mp4Box>> boxes = readMp4Boxes(input);
    if (!boxes) {
        result.error = "the input is not a sequence of MP4 boxes";
        return result;
    }
    std::optional<Parts> parts = splitTopLevel(std::move(*boxes), result.error);
    if (!parts) return result;

    if (parts->ftyp.payload.size() < 4) {
        result.error = "the ftyp box has no major brand";
        return result;
    }
    parts->ftyp.payload[0] = 'a';
    parts->ftyp.payload[1] = 'v';
    parts->ftyp.payload[2] = 'c';
    parts->ftyp.payload[3] = '1';

    // The media data moves to right after ftyp: every offset into it moves alike.
    const std::uint64_t mediaStart = parts->ftyp.size() + 8;
    const auto shift = static_cast<std::int64_t>(mediaStart) - static_cast<std::int64_t>(parts->mdat.sourcePayloadOffset);
    if (!moveChunkOffsets(parts->moov, shift, result.error)) return result;

    TelemetryTrackBuilder track;
    track.recordsPerSecond = recordsPerSecond;
    Mp4Box* mvhd = parts->moov.child("mvhd");
    if (!mvhd || !claimTrackId(*mvhd, track.trackId, track.movieTimescale)) {
        result.error = "the moov box has no readable mvhd";
        return result;
    }
    std::uint64_t chunkAt = mediaStart + parts->mdat.payload.size();
    for (const TelemetryRecord& record : records) {
        if (chunkAt + TelemetryRecord::kChunkSize > std::numeric_limits<std::uint32_t>::max()) {
            result.error = "the file is too large for 32-bit chunk offsets";
            return result;
        }
        track.chunkOffsets.push_back(static_cast<std::uint32_t>(chunkAt));
        const Bytes chunk = record.encodeChunk();
        parts->mdat.payload.insert(parts->mdat.payload.end(), chunk.begin(), chunk.end());
        chunkAt += chunk.size();
    }
    insertTelemetryTrack(parts->moov, track.build());

    Bytes out;
    out.reserve(parts->ftyp.size() + parts->mdat.size() + parts->moov.size());
    if (!parts->ftyp.writeTo(out) || !parts->mdat.writeTo(out) || !parts->moov.writeTo(out)) {
        result.error = "a box is too large for a 32-bit size";
        return result;
    }
    result.file = std::move(out);
    return result;
}

std::optional<CameraLayoutRewriter::Parts> CameraLayoutRewriter::splitTopLevel(std::vector<Mp4Box> boxes,
                                                                                std::string& error) {
    if (boxes.empty() || boxes.front().type != "ftyp") {
        error = "the file does not start with ftyp";
        return std::nullopt;
    }
    Parts parts;
    parts.ftyp = std::move(boxes.front());
    int mdats = 0;
    int moovs = 0;
    for (std::size_t i = 1; i < boxes.size(); ++i) {
        Mp4Box& box = boxes[i];
        if (box.type == "mdat") {
            parts.mdat = std::move(box);
            ++mdats;
        } else if (box.type == "moov") {
            parts.moov = std::move(box);
            ++moovs;
        } else if (!isPadding(box.type)) {
            error = "unexpected top-level box " + box.type;
            return std::nullopt;
        }
    }
    if (mdats != 1 || moovs != 1) {
        error = "the file needs exactly one mdat and one moov";
        return std::nullopt;
    }
    return parts;
}

bool CameraLayoutRewriter::moveChunkOffsets(Mp4Box& moov, std::int64_t shift, std::string& error) {
    for (Mp4Box& trak : moov.children) {
        if (trak.type != "trak") continue;
        Mp4Box* mdia = trak.child("mdia");
        Mp4Box* minf = mdia ? mdia->child("minf") : nullptr;
        Mp4Box* stbl = minf ? minf->child("stbl") : nullptr;
        if (!stbl) {
            error = "a track has no sample table";
            return false;
        }
        int tables = 0;
        for (Mp4Box& table : stbl->children) {
            if (table.type != "stco" && table.type != "co64") continue;
            ++tables;
            if (!moveTableEntries(table, shift)) {
                error = "a chunk-offset table is damaged or its offsets overflow";
                return false;
            }
        }
        if (tables != 1) {
            error = "a track needs exactly one chunk-offset table";
            return false;
        }
    }
    return true;
}

bool CameraLayoutRewriter::moveTableEntries(Mp4Box& table, std::int64_t shift) {
    Bytes& payload = table.payload;
    if (payload.size() < 8) return false;
    const std::uint64_t count = readBigEndian32(payload.data() + 4);
    const std::size_t width = table.type == "co64" ? 8 : 4;
    if (count > (payload.size() - 8) / width) return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint8_t* entry = payload.data() + 8 + i * width;
        const std::int64_t old = width == 8 ? static_cast<std::int64_t>(readBigEndian64(entry))
                                            : static_cast<std::int64_t>(readBigEndian32(entry));
        const std::int64_t moved = old + shift;
        if (moved < 0) return false;
        if (width == 8) {
            storeBigEndian64(entry, static_cast<std::uint64_t>(moved));
        } else {
            if (moved > std::numeric_limits<std::uint32_t>::max()) return false;
            storeBigEndian32(entry, static_cast<std::uint32_t>(moved));
        }
    }
    return true;
}

bool CameraLayoutRewriter::claimTrackId(Mp4Box& mvhd, std::uint32_t& trackId, std::uint32_t& timescale) {
    Bytes& payload = mvhd.payload;
    if (payload.empty()) return false;
    // Version 1 has 64-bit times and duration; next_track_ID is the box's last field.
    const std::size_t timescaleAt = payload[0] == 1 ? 20 : 12;
    if (payload.size() < timescaleAt + 4 || payload.size() < 4 + 4) return false;
    timescale = readBigEndian32(payload.data() + timescaleAt);
    std::uint8_t* nextTrack = payload.data() + payload.size() - 4;
    trackId = readBigEndian32(nextTrack);
    if (timescale == 0 || trackId == 0 || trackId == std::numeric_limits<std::uint32_t>::max()) return false;
    storeBigEndian32(nextTrack, trackId + 1);
    return true;
}

void CameraLayoutRewriter::insertTelemetryTrack(Mp4Box& moov, Mp4Box track) const {
    // The reader counts children, not tracks: fill up to the fifth place.
    while (moov.children.size() < kTelemetryTrackIndex) moov.children.push_back(Mp4Box::leaf("free", {}));
    moov.children.insert(moov.children.begin() + kTelemetryTrackIndex, std::move(track));
}

}  // namespace zentrova::samplecard
