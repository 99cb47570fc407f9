#include "ByteAppender.h"

namespace zentrova::samplecard {

void ByteAppender::bigEndian16(std::uint16_t value) {
    m_out.push_back(static_cast<std::uint8_t>(value >> 8));
    m_out.push_back(static_cast<std::uint8_t>(value));
}

void ByteAppender::bigEndian32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) m_out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteAppender::bigEndian64(std::uint64_t value) {
    for (int shift = 56; shift >= 0; shift -= 8) m_out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteAppender::littleEndian16(std::uint16_t value) {
    m_out.push_back(static_cast<std::uint8_t>(value));
    m_out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteAppender::littleEndian32(std::uint32_t value) {
    for (int shift = 0; shift <= 24; shift += 8) m_out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void ByteAppender::text(const std::string& value) { m_out.insert(m_out.end(), value.begin(), value.end()); }

void ByteAppender::zeros(std::size_t count) { m_out.insert(m_out.end(), count, 0); }

std::uint32_t readBigEndian32(const std::uint8_t* at) {
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) |
           std::uint32_t{at[3]};
}

std::uint64_t readBigEndian64(const std::uint8_t* at) {
    return (std::uint64_t{readBigEndian32(at)} << 32) | readBigEndian32(at + 4);
}

void storeBigEndian32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void storeBigEndian64(std::uint8_t* at, std::uint64_t value) {
    storeBigEndian32(at, static_cast<std::uint32_t>(value >> 32));
    storeBigEndian32(at + 4, static_cast<std::uint32_t>(value));
}

}  // namespace zentrova::samplecard
