#include "check/Mp4IndexReader.h"

#include "telemetry/ByteOrder.h"

#include <array>
#include <cstring>
#include <limits>

namespace zentrova {
namespace {

constexpr std::uint32_t fourCC(const char (&code)[5]) {
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16) |
           (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

bool readFull(ByteSource& source, std::uint64_t at, std::span<std::uint8_t> out) {
    return source.readAt(at, out) == out.size();
}

std::uint64_t readBigEndian64(const std::uint8_t* bytes) {
    return (std::uint64_t{readBigEndian32(bytes)} << 32) | readBigEndian32(bytes + 4);
}

}  // namespace

Mp4IndexReader::HeaderResult Mp4IndexReader::readHeader(Walk& walk, std::uint64_t at, std::uint64_t containerEnd,
                                                        BoxHeader& header) {
    if (at >= containerEnd) return HeaderResult::End;
    if (walk.headersLeft == 0) return HeaderResult::OverBudget;
    --walk.headersLeft;
    ByteSource& source = walk.source;
    if (containerEnd - at < 8) return HeaderResult::Short;
    std::array<std::uint8_t, 16> bytes{};
    if (!readFull(source, at, std::span(bytes.data(), 8))) return HeaderResult::Short;
    header = BoxHeader{};
    header.start = at;
    std::memcpy(header.type, bytes.data() + 4, 4);
    const std::uint32_t size = readBigEndian32(bytes.data());
    if (size == 1) {
        // The 64-bit size follows the type.
        if (containerEnd - at < 16 || !readFull(source, at + 8, std::span(bytes.data() + 8, 8))) {
            return HeaderResult::Short;
        }
        header.headerSize = 16;
        header.size = readBigEndian64(bytes.data() + 8);
        if (header.size < 16 || header.size > std::numeric_limits<std::uint64_t>::max() - at) {
            return HeaderResult::Malformed;
        }
        return HeaderResult::Read;
    }
    if (size == 0) {
        // The box runs to the end of its container (a last "mdat" while it is written).
        header.size = containerEnd - at;
        return HeaderResult::Read;
    }
    if (size < 8) return HeaderResult::Malformed;
    header.size = size;
    return HeaderResult::Read;
}

std::optional<double> Mp4IndexReader::headerSeconds(ByteSource& source, const BoxHeader& box) {
    // version(1) flags(3), then creation and change times, time scale and
    // duration: 32-bit each in version 0, the times and duration 64-bit in 1.
    std::array<std::uint8_t, 32> bytes{};
    const std::uint64_t payloadSize = box.size - box.headerSize;
    if (payloadSize < 20 || !readFull(source, box.payload(), std::span(bytes.data(), 1))) return std::nullopt;
    const bool wide = bytes[0] == 1;
    const std::size_t needed = wide ? 32 : 20;
    if (payloadSize < needed || !readFull(source, box.payload(), std::span(bytes.data(), needed))) return std::nullopt;
    const std::uint32_t timescale = readBigEndian32(bytes.data() + (wide ? 20 : 12));
    const std::uint64_t duration = wide ? readBigEndian64(bytes.data() + 24) : readBigEndian32(bytes.data() + 16);
    // All ones means "not known".
    const bool unknown = wide ? duration == std::numeric_limits<std::uint64_t>::max() : duration == 0xFFFFFFFFu;
    if (timescale == 0 || unknown) return std::nullopt;
    return static_cast<double>(duration) / timescale;
}

std::optional<std::uint32_t> Mp4IndexReader::handlerType(ByteSource& source, const BoxHeader& hdlr) {
    std::array<std::uint8_t, 12> bytes{};
    if (hdlr.size - hdlr.headerSize < bytes.size() || !readFull(source, hdlr.payload(), bytes)) return std::nullopt;
    return readBigEndian32(bytes.data() + 8);
}

void Mp4IndexReader::readTrack(Walk& walk, const BoxHeader& trak, Mp4Index& index) {
    ByteSource& source = walk.source;
    ++index.tracks;
    std::optional<double> seconds;
    std::optional<std::uint32_t> handler;
    BoxHeader child;
    std::uint64_t at = trak.payload();
    for (std::size_t n = 0; n < kMostBoxesPerContainer; ++n, at = child.end()) {
        if (readHeader(walk, at, trak.end(), child) != HeaderResult::Read || child.end() > trak.end()) break;
        if (!child.is("mdia")) continue;
        BoxHeader media;
        std::uint64_t inner = child.payload();
        for (std::size_t m = 0; m < kMostBoxesPerContainer; ++m, inner = media.end()) {
            if (readHeader(walk, inner, child.end(), media) != HeaderResult::Read || media.end() > child.end()) break;
            if (media.is("mdhd")) seconds = headerSeconds(source, media);
            if (media.is("hdlr")) handler = handlerType(source, media);
        }
        break;
    }
    if (handler == fourCC("vide")) {
        ++index.videoTracks;
        if (!index.videoSeconds) index.videoSeconds = seconds;
    } else if (handler == fourCC("soun")) {
        ++index.audioTracks;
    }
}

bool Mp4IndexReader::readMovie(Walk& walk, const BoxHeader& moov, Mp4Index& index) {
    BoxHeader child;
    std::uint64_t at = moov.payload();
    bool haveHeader = false;
    for (std::size_t n = 0; n < kMostBoxesPerContainer; ++n, at = child.end()) {
        const HeaderResult result = readHeader(walk, at, moov.end(), child);
        if (result == HeaderResult::End) break;
        if (result != HeaderResult::Read || child.end() > moov.end()) return false;
        if (child.is("mvhd")) {
            index.movieSeconds = headerSeconds(walk.source, child);
            haveHeader = index.movieSeconds.has_value();
        } else if (child.is("trak")) {
            readTrack(walk, child, index);
        }
    }
    return haveHeader;
}

void Mp4IndexReader::readTopLevel(Walk& walk, Mp4Index& index) {
    const std::uint64_t fileSize = index.fileSize;
    bool sawMovie = false;
    bool cutOff = false;
    BoxHeader box;
    std::uint64_t at = 0;
    for (std::size_t n = 0;; ++n, at = box.end()) {
        if (n == kMostBoxesPerContainer) {
            index.fault = Mp4Fault::Damaged;
            index.damagedAt = at;
            return;
        }
        const HeaderResult result = readHeader(walk, at, fileSize, box);
        if (result == HeaderResult::End) break;
        if (n == 0 && (result != HeaderResult::Read || !box.is("ftyp"))) {
            index.fault = Mp4Fault::NotMp4;
            return;
        }
        if (result == HeaderResult::Short) {
            // Not even a whole box header after the last box.
            cutOff = true;
            break;
        }
        if (result == HeaderResult::Malformed || result == HeaderResult::OverBudget) {
            index.fault = Mp4Fault::Damaged;
            index.damagedAt = at;
            return;
        }
        if (box.end() > fileSize) {
            cutOff = true;
            index.announcedSize = box.end();
            break;
        }
        if (box.is("moov") && !sawMovie) {
            sawMovie = true;
            index.hasIndex = readMovie(walk, box, index);
        }
    }
    if (cutOff) {
        index.fault = Mp4Fault::CutOff;
    } else if (!sawMovie) {
        index.fault = Mp4Fault::NoIndex;
    } else if (!index.hasIndex) {
        index.fault = Mp4Fault::DamagedIndex;
    } else if (index.videoTracks == 0) {
        index.fault = Mp4Fault::NoVideoTrack;
    }
}

Mp4Index Mp4IndexReader::read(ByteSource& source) {
    Mp4Index index;
    index.fileSize = source.size();
    if (index.fileSize == 0) {
        index.fault = Mp4Fault::Empty;
        return index;
    }
    Walk walk{source};
    readTopLevel(walk, index);
    return index;
}

}  // namespace zentrova
