#pragma once

#include "telemetry/ByteSource.h"

namespace zentrova {

// Bytes already in memory (not copied; they must outlive the source).
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::uint64_t size() const override { return m_bytes.size(); }

private:
    std::span<const std::uint8_t> m_bytes;
};

}  // namespace zentrova
