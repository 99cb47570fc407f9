#include "telemetry/MemoryByteSource.h"

#include <algorithm>
#include <cstring>

namespace zentrova {

std::size_t MemoryByteSource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset >= m_bytes.size()) return 0;
    const std::size_t available = m_bytes.size() - static_cast<std::size_t>(offset);
    const std::size_t count = std::min(available, out.size());
    if (count > 0) std::memcpy(out.data(), m_bytes.data() + offset, count);
    return count;
}

}  // namespace zentrova
