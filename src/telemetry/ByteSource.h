#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrova {

// Random-access bytes of one recording file. The telemetry walk reads only
// through this, so a damaged file and an in-memory copy behave alike.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to out.size() bytes from offset; returns how many were copied
    // (fewer at the end of the data, 0 beyond it).
    virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    virtual std::uint64_t size() const = 0;
};

}  // namespace zentrova
