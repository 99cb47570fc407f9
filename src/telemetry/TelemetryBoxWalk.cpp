#include "telemetry/TelemetryBoxWalk.h"

#include "telemetry/ByteOrder.h"

#include <array>
#include <cstring>

namespace zentrova {
namespace {

constexpr std::uint32_t kBoxHeaderSize = 8;

bool readFull(ByteSource& source, std::uint64_t position, std::span<std::uint8_t> out) {
    return source.readAt(position, out) == out.size();
}

bool isFourCC(const std::uint8_t* bytes, const char* code) {
    return std::memcmp(bytes, code, 4) == 0;
}

// The box size at position; none when the 4 bytes are not there.
std::optional<std::uint32_t> sizeAt(ByteSource& source, std::uint32_t position) {
    std::array<std::uint8_t, 4> bytes{};
    if (!readFull(source, position, bytes)) return std::nullopt;
    return readBigEndian32(bytes.data());
}

// Size and type at position, both read even where the type is not used.
std::optional<std::uint32_t> sizeWithTypeAt(ByteSource& source, std::uint32_t position,
                                             std::array<std::uint8_t, 4>* type = nullptr) {
    std::array<std::uint8_t, 8> bytes{};
    if (!readFull(source, position, bytes)) return std::nullopt;
    if (type) std::memcpy(type->data(), bytes.data() + 4, 4);
    return readBigEndian32(bytes.data());
}

// Skips count boxes in a row, starting at position.
std::optional<std::uint32_t> skipBoxes(ByteSource& source, std::uint32_t position, int count) {
    for (int i = 0; i < count; ++i) {
        const auto size = sizeAt(source, position);
        if (!size) return std::nullopt;
        position += *size;
    }
    return position;
}

// Skips count boxes, then steps into the children of the box after them.
std::optional<std::uint32_t> skipAndEnter(ByteSource& source, std::uint32_t position, int count) {
    const auto next = skipBoxes(source, position, count);
    if (!next) return std::nullopt;
    return *next + kBoxHeaderSize;
}

bool hasCameraBrand(ByteSource& source) {
    std::array<std::uint8_t, 12> head{};
    return readFull(source, 0, head) && isFourCC(head.data() + 4, "ftyp") && isFourCC(head.data() + 8, "avc1");
}

// The first child of the "moov" box that follows the box after "ftyp".
std::optional<std::uint32_t> moovChildren(ByteSource& source) {
    const auto ftypSize = sizeAt(source, 0);
    if (!ftypSize) return std::nullopt;
    const std::uint32_t afterFtyp = *ftypSize;
    const auto skippedSize = sizeWithTypeAt(source, afterFtyp);
    if (!skippedSize) return std::nullopt;
    const std::uint32_t moov = afterFtyp + *skippedSize;
    std::array<std::uint8_t, 4> type{};
    if (!sizeWithTypeAt(source, moov, &type) || !isFourCC(type.data(), "moov")) return std::nullopt;
    return moov + kBoxHeaderSize;
}

// From the first child of "moov" to the first child of the telemetry track's "stbl".
std::optional<std::uint32_t> sampleTableChildren(ByteSource& source, std::uint32_t moovChild) {
    const auto track = skipBoxes(source, moovChild, 4);
    if (!track) return std::nullopt;
    std::array<std::uint8_t, 4> unused{};
    if (!readFull(source, *track, unused)) return std::nullopt;
    // In the track: tkhd, then one box read with its type, then mdia.
    const auto second = skipBoxes(source, *track + kBoxHeaderSize, 1);
    if (!second) return std::nullopt;
    const auto secondSize = sizeWithTypeAt(source, *second);
    if (!secondSize) return std::nullopt;
    const std::uint32_t mediaChild = *second + *secondSize + kBoxHeaderSize;
    const auto mediaInfoChild = skipAndEnter(source, mediaChild, 2);
    if (!mediaInfoChild) return std::nullopt;
    return skipAndEnter(source, *mediaInfoChild, 2);
}

}  // namespace

std::optional<ChunkOffsetTable> TelemetryBoxWalk::locate(ByteSource& source) {
    if (!hasCameraBrand(source)) return std::nullopt;
    const auto moovChild = moovChildren(source);
    if (!moovChild) return std::nullopt;
    const auto sampleTableChild = sampleTableChildren(source, *moovChild);
    if (!sampleTableChild) return std::nullopt;
    const auto stco = skipBoxes(source, *sampleTableChild, 4);
    if (!stco) return std::nullopt;

    std::array<std::uint8_t, 8> header{};
    if (!readFull(source, *stco, header) || !isFourCC(header.data() + 4, "stco")) return std::nullopt;
    // Version and flags are not needed; the entry count right after them is.
    std::array<std::uint8_t, 4> count{};
    if (!readFull(source, std::uint64_t{*stco} + 12, count)) return std::nullopt;

    ChunkOffsetTable table;
    table.firstEntry = *stco + ChunkOffsetTable::kHeaderSize;
    table.entryCount = readBigEndian32(count.data());
    table.boxSize = readBigEndian32(header.data());
    return table;
}

}  // namespace zentrova
