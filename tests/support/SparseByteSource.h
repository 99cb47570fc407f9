#pragma once

#include "telemetry/ByteSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zentrova::test {

// A file of any size, up to many gigabytes, of which only the first bytes
// are held: after them come zeros, as in a file grown with a hole, or the
// same bytes over and over.
class SparseByteSource : public ByteSource {
public:
    enum class Rest { Zeros, Repeated };

    SparseByteSource(std::vector<std::uint8_t> head, std::uint64_t size, Rest rest = Rest::Zeros)
        : m_head(std::move(head)), m_size(std::max<std::uint64_t>(size, m_head.size())), m_rest(rest) {}

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset >= m_size) return 0;
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), m_size - offset));
        std::size_t done = 0;
        while (done < count) done += copyRun(offset + done, out.subspan(done, count - done));
        return count;
    }
    std::uint64_t size() const override { return m_size; }

private:
    // Copies what lies at offset up to the next change from head to rest.
    std::size_t copyRun(std::uint64_t offset, std::span<std::uint8_t> out) const {
        if (m_rest == Rest::Repeated && !m_head.empty()) offset %= m_head.size();
        if (offset >= m_head.size()) {
            std::memset(out.data(), 0, out.size());
            return out.size();
        }
        const auto at = static_cast<std::size_t>(offset);
        const std::size_t n = std::min(out.size(), m_head.size() - at);
        std::memcpy(out.data(), m_head.data() + at, n);
        return n;
    }

    std::vector<std::uint8_t> m_head;
    std::uint64_t m_size;
    Rest m_rest;
};

}  // namespace zentrova::test
