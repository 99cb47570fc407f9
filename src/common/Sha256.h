#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zentrova {

// SHA-256 (FIPS 180-4), fed in pieces of any size.
class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256() { reset(); }

    void reset();
    void update(std::span<const std::uint8_t> bytes);
    void update(std::string_view text);
    // The digest of everything fed since the last reset; starts afresh after it.
    Digest finish();

    static Digest of(std::span<const std::uint8_t> bytes);
    // 64 lower-case hexadecimal digits, as sha256sum writes them.
    static std::string hex(const Digest& digest);

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state{};
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_filled = 0;
    std::uint64_t m_length = 0;  // bytes fed
};

}  // namespace zentrova
