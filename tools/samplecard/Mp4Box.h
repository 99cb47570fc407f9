#pragma once

#include "ByteAppender.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrova::samplecard {

// One box of an MP4 file: either a leaf with its payload or a container
// with its children. Sizes are worked out when the box is written.
struct Mp4Box {
    std::string type;
    Bytes payload;
    std::vector<Mp4Box> children;
    bool container = false;
    // Where the payload started in the file it was read from.
    std::uint64_t sourcePayloadOffset = 0;

    static Mp4Box leaf(std::string type, Bytes payload);
    static Mp4Box parent(std::string type, std::vector<Mp4Box> children);

    std::uint64_t size() const;
    Mp4Box* child(const std::string& childType);
    const Mp4Box* child(const std::string& childType) const;
    // Appends the box with 32-bit sizes; false when it does not fit them.
    bool writeTo(Bytes& out) const;
};

// The boxes of bytes; the containers of the track tree are opened, every
// other box is kept whole. None when a size runs outside its parent.
std::optional<std::vector<Mp4Box>> readMp4Boxes(std::span<const std::uint8_t> bytes, std::uint64_t baseOffset = 0);

}  // namespace zentrova::samplecard
