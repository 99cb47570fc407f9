#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zentrova::samplecard {

using Bytes = std::vector<std::uint8_t>;

// Appends numbers in a fixed byte order, whatever the host's order is.
class ByteAppender {
public:
    explicit ByteAppender(Bytes& out) : m_out(out) {}

    void u8(std::uint8_t value) { m_out.push_back(value); }
    void bigEndian16(std::uint16_t value);
    void bigEndian32(std::uint32_t value);
    void bigEndian64(std::uint64_t value);
    void littleEndian16(std::uint16_t value);
    void littleEndian32(std::uint32_t value);
    void text(const std::string& value);
    void zeros(std::size_t count);

private:
    Bytes& m_out;
};

std::uint32_t readBigEndian32(const std::uint8_t* at);
std::uint64_t readBigEndian64(const std::uint8_t* at);
void storeBigEndian32(std::uint8_t* at, std::uint32_t value);
void storeBigEndian64(std::uint8_t* at, std::uint64_t value);

}  // namespace zentrova::samplecard
