#pragma once

// Builds recording files in the camera's box layout, byte by byte, for tests
// and fuzz seeds: ftyp, one box, moov {mvhd, three tracks, the telemetry
// track with its chunk-offset table}, and the telemetry chunks in an mdat box
// either right after ftyp (the camera's order) or after moov.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova::test {

// One telemetry record as the camera writes it (153 bytes after two leading bytes).
struct TelemetryRecord {
    std::uint32_t time = 0;
    std::uint32_t timeHigh = 0;  // bytes 4-7 of the time field, not interpreted
    std::int32_t x = 0, y = 0, z = 0, t = 0;
    std::uint8_t unit = '9';
    std::string text;  // up to 128 bytes, padded with NUL
    std::uint16_t lead = 0;
};

using Bytes = std::vector<std::uint8_t>;

inline void appendBigEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void appendLittleEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift <= 24; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline void appendText(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

// The 155 bytes of one chunk.
inline Bytes encodeChunk(const TelemetryRecord& record) {
    Bytes out;
    out.push_back(static_cast<std::uint8_t>(record.lead >> 8));
    out.push_back(static_cast<std::uint8_t>(record.lead));
    appendLittleEndian32(out, record.time);
    appendLittleEndian32(out, record.timeHigh);
    appendLittleEndian32(out, static_cast<std::uint32_t>(record.x));
    appendLittleEndian32(out, static_cast<std::uint32_t>(record.y));
    appendLittleEndian32(out, static_cast<std::uint32_t>(record.z));
    appendLittleEndian32(out, static_cast<std::uint32_t>(record.t));
    out.push_back(record.unit);
    Bytes text(128, 0);
    std::copy_n(record.text.begin(), std::min<std::size_t>(record.text.size(), 128), text.begin());
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

// A box with either its own payload or children.
struct Box {
    std::string type;
    Bytes payload;
    std::vector<Box> children;

    std::uint64_t size() const {
        std::uint64_t total = 8 + payload.size();
        for (const Box& child : children) total += child.size();
        return total;
    }
};

struct BoxSpan {
    std::string type;
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};

struct BuiltFile {
    Bytes bytes;
    std::vector<BoxSpan> boxes;            // every box, in file order
    std::vector<std::uint32_t> chunkOffsets;  // as written into the table
    std::uint64_t stcoStart = 0;           // position of the "stco" box
    std::uint64_t headerEnd = 0;           // the walk needs every byte before this
};

// The time values that a reading of the first length bytes of file must
// give, worked out straight from the record layout: entry i of the table,
// while it lies in its box and in the file, names a chunk that counts when
// all 155 bytes of it are there.
inline std::vector<std::uint32_t> referenceTimes(const BuiltFile& file, std::uint64_t length) {
    std::vector<std::uint32_t> times;
    if (length < file.headerEnd) return times;
    const std::uint8_t* b = file.bytes.data();
    auto be32 = [b](std::uint64_t at) {
        return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) |
               std::uint32_t{b[at + 3]};
    };
    const std::uint32_t boxSize = be32(file.stcoStart);
    const std::uint32_t count = std::min(be32(file.stcoStart + 12), boxSize < 16 ? 0 : (boxSize - 16) / 4);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = file.headerEnd + 4 * i;
        if (entry + 4 > length) break;
        const std::uint64_t chunk = be32(entry);
        if (chunk + 155 > length) continue;
        times.push_back(std::uint32_t{b[chunk + 2]} | (std::uint32_t{b[chunk + 3]} << 8) |
                        (std::uint32_t{b[chunk + 4]} << 16) | (std::uint32_t{b[chunk + 5]} << 24));
    }
    return times;
}

class Mp4TelemetryBuilder {
public:
    std::string majorBrand = "avc1";
    std::string ftypType = "ftyp";
    std::string moovType = "moov";
    std::string tableType = "stco";
    // A box between ftyp and moov; without it moov follows ftyp directly.
    bool boxAfterFtyp = true;
    // The chunks in an mdat right after ftyp (the camera's order); else a
    // "free" box follows ftyp and the mdat comes after moov.
    bool chunksBeforeMoov = false;
    // Tracks (or other boxes) between mvhd and the telemetry track.
    int boxesBeforeTelemetryTrack = 3;
    // Replaces the entry count of the table header.
    std::optional<std::uint32_t> entryCount;
    // Replaces the size in the table's box header (the boxes around it keep theirs).
    std::optional<std::uint32_t> tableBoxSize;
    // Table entries written after those of the records (e.g. offsets past the end).
    std::vector<std::uint32_t> extraChunkOffsets;
    // Write the chunks in reverse order in the file (the table keeps record order).
    bool reverseChunks = false;
    // Bytes of other data after each chunk, as video lies between the
    // telemetry chunks in a camera file.
    std::size_t gapAfterChunk = 0;
    // A movie header and a first track that say the file is this long and
    // holds video, as a player (and the card check) reads them; none leaves
    // them blank.
    std::optional<double> videoSeconds;
    std::vector<TelemetryRecord> records;

    BuiltFile build() const {
        // The table size does not depend on its values: lay out once with
        // zero offsets to learn where the chunks go, then for real.
        const std::vector<std::uint32_t> zeros(records.size(), 0);
        const BuiltFile draft = layout(zeros);
        std::vector<std::uint32_t> offsets(records.size());
        const std::uint64_t chunksStart = mdatStart(draft) + 8;
        for (std::size_t i = 0; i < records.size(); ++i) {
            const std::size_t slot = reverseChunks ? records.size() - 1 - i : i;
            offsets[i] = static_cast<std::uint32_t>(chunksStart + (155 + gapAfterChunk) * slot);
        }
        return layout(offsets);
    }

private:
    static std::uint64_t mdatStart(const BuiltFile& file) {
        for (const BoxSpan& box : file.boxes) {
            if (box.type == "mdat") return box.start;
        }
        return 0;
    }

    static Box leaf(const std::string& type, std::size_t payloadSize) {
        return Box{type, Bytes(payloadSize, 0), {}};
    }

    // Version 0: flags, two times, the time scale (1000) and the duration.
    static Box timeHeader(const std::string& type, double seconds, std::size_t payloadSize) {
        Bytes payload;
        appendBigEndian32(payload, 0);
        appendBigEndian32(payload, 0);
        appendBigEndian32(payload, 0);
        appendBigEndian32(payload, 1000);
        appendBigEndian32(payload, static_cast<std::uint32_t>(seconds * 1000.0 + 0.5));
        payload.resize(payloadSize, 0);
        return Box{type, payload, {}};
    }

    static Box videoTrack(double seconds) {
        Bytes handler;
        appendBigEndian32(handler, 0);
        appendBigEndian32(handler, 0);
        appendText(handler, "vide");
        handler.resize(25, 0);
        Box mdia{"mdia", {}, {timeHeader("mdhd", seconds, 24), Box{"hdlr", handler, {}}}};
        return Box{"trak", {}, {leaf("tkhd", 84), mdia}};
    }

    Box chunkTable(const std::vector<std::uint32_t>& offsets) const {
        Bytes payload;
        appendBigEndian32(payload, 0);  // version and flags
        std::vector<std::uint32_t> all = offsets;
        all.insert(all.end(), extraChunkOffsets.begin(), extraChunkOffsets.end());
        appendBigEndian32(payload, entryCount.value_or(static_cast<std::uint32_t>(all.size())));
        for (std::uint32_t offset : all) appendBigEndian32(payload, offset);
        return Box{tableType, payload, {}};
    }

    Box telemetryTrack(const std::vector<std::uint32_t>& offsets) const {
        Box stbl{"stbl", {}, {leaf("stsd", 16), leaf("stts", 16), leaf("stsc", 20), leaf("stsz", 12), chunkTable(offsets)}};
        Box minf{"minf", {}, {leaf("nmhd", 4), Box{"dinf", {}, {leaf("dref", 8)}}, stbl}};
        Box mdia{"mdia", {}, {leaf("mdhd", 24), leaf("hdlr", 33), minf}};
        return Box{"trak", {}, {leaf("tkhd", 84), Box{"edts", {}, {leaf("elst", 16)}}, mdia}};
    }

    Box chunkData() const {
        Box mdat{"mdat", {}, {}};
        for (std::size_t slot = 0; slot < records.size(); ++slot) {
            const std::size_t i = reverseChunks ? records.size() - 1 - slot : slot;
            const Bytes chunk = encodeChunk(records[i]);
            mdat.payload.insert(mdat.payload.end(), chunk.begin(), chunk.end());
            mdat.payload.insert(mdat.payload.end(), gapAfterChunk, std::uint8_t{0x5A});
        }
        return mdat;
    }

    BuiltFile layout(const std::vector<std::uint32_t>& offsets) const {
        Bytes ftypPayload;
        appendText(ftypPayload, majorBrand);
        appendBigEndian32(ftypPayload, 0x200);
        appendText(ftypPayload, "isomiso2avc1mp41");
        std::vector<Box> top{Box{ftypType, ftypPayload, {}}};
        if (chunksBeforeMoov) {
            top.push_back(chunkData());
        } else if (boxAfterFtyp) {
            top.push_back(leaf("free", 0));
        }
        Box moov{moovType, {}, {videoSeconds ? timeHeader("mvhd", *videoSeconds, 100) : leaf("mvhd", 100)}};
        for (int i = 0; i < boxesBeforeTelemetryTrack; ++i) {
            moov.children.push_back(videoSeconds && i == 0 ? videoTrack(*videoSeconds)
                                                           : Box{"trak", {}, {leaf("tkhd", 84)}});
        }
        moov.children.push_back(telemetryTrack(offsets));
        moov.children.push_back(leaf("udta", 12));
        top.push_back(moov);
        if (!chunksBeforeMoov) top.push_back(chunkData());

        BuiltFile file;
        for (const Box& box : top) write(box, file);
        file.chunkOffsets = offsets;
        file.chunkOffsets.insert(file.chunkOffsets.end(), extraChunkOffsets.begin(), extraChunkOffsets.end());
        for (const BoxSpan& span : file.boxes) {
            if (span.type == tableType) {
                file.stcoStart = span.start;
                file.headerEnd = span.start + 16;
            }
        }
        return file;
    }

    void write(const Box& box, BuiltFile& file) const {
        const std::size_t index = file.boxes.size();
        file.boxes.push_back(BoxSpan{box.type, file.bytes.size(), 0});
        const bool isTable = box.type == tableType && tableBoxSize;
        appendBigEndian32(file.bytes, isTable ? *tableBoxSize : static_cast<std::uint32_t>(box.size()));
        appendText(file.bytes, box.type);
        file.bytes.insert(file.bytes.end(), box.payload.begin(), box.payload.end());
        for (const Box& child : box.children) write(child, file);
        file.boxes[index].end = file.bytes.size();
    }
};

}  // namespace zentrova::test
