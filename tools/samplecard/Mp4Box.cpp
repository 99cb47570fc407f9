#include "Mp4Box.h"

#include <array>
#include <limits>

namespace zentrova::samplecard {
namespace {

constexpr std::array kContainerTypes{"moov", "trak", "mdia", "minf", "stbl", "edts", "dinf"};

bool isContainerType(const std::string& type) {
    for (const char* container : kContainerTypes) {
        if (type == container) return true;
    }
    return false;
}

}  // namespace

Mp4Box Mp4Box::leaf(std::string type, Bytes payload) {
    Mp4Box box;
    box.type = std::move(type);
    box.payload = std::move(payload);
    return box;
}

Mp4Box Mp4Box::parent(std::string type, std::vector<Mp4Box> children) {
    Mp4Box box;
    box.type = std::move(type);
    box.children = std::move(children);
    box.container = true;
    return box;
}

std::uint64_t Mp4Box::size() const {
    std::uint64_t total = 8 + payload.size();
    for (const Mp4Box& box : children) total += box.size();
    return total;
}

Mp4Box* Mp4Box::child(const std::string& childType) {
    for (Mp4Box& box : children) {
        if (box.type == childType) return &box;
    }
    return nullptr;
}

const Mp4Box* Mp4Box::child(const std::string& childType) const {
    for (const Mp4Box& box : children) {
        if (box.type == childType) return &box;
    }
    return nullptr;
}

bool Mp4Box::writeTo(Bytes& out) const {
    const std::uint64_t total = size();
    if (type.size() != 4 || total > std::numeric_limits<std::uint32_t>::max()) return false;
    ByteAppender append(out);
    append.bigEndian32(static_cast<std::uint32_t>(total));
    append.text(type);
    out.insert(out.end(), payload.begin(), payload.end());
    for (const Mp4Box& box : children) {
        if (!box.writeTo(out)) return false;
    }
    return true;
}

std::optional<std::vector<Mp4Box>> readMp4Boxes(std::span<const std::uint8_t> bytes, std::uint64_t baseOffset) {
    std::vector<Mp4Box> boxes;
    std::uint64_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 8) return std::nullopt;
        std::uint64_t size = readBigEndian32(bytes.data() + at);
        std::uint64_t header = 8;
        if (size == 1) {
            if (bytes.size() - at < 16) return std::nullopt;
            size = readBigEndian64(bytes.data() + at + 8);
            header = 16;
        } else if (size == 0) {
            size = bytes.size() - at;  // the box runs to the end of its parent
        }
        if (size < header || size > bytes.size() - at) return std::nullopt;
        Mp4Box box;
        box.type.assign(reinterpret_cast<const char*>(bytes.data() + at + 4), 4);
        box.sourcePayloadOffset = baseOffset + at + header;
        const std::span<const std::uint8_t> payload = bytes.subspan(at + header, size - header);
        if (isContainerType(box.type)) {
            std::optional<std::vector<Mp4Box>> children = readMp4Boxes(payload, box.sourcePayloadOffset);
            if (!children) return std::nullopt;
            box.children = std::move(*children);
            box.container = true;
        } else {
            box.payload.assign(payload.begin(), payload.end());
        }
        boxes.push_back(std::move(box));
        at += size;
    }
    return boxes;
}

}  // namespace zentrova::samplecard
