#include "telemetry/FileByteSource.h"

namespace zentrova {

bool FileByteSource::open(const std::string& path) {
    close();
    // Unbuffered: every read is a small read at a new position, so a stream
    // buffer would only fill kilobytes that are thrown away at the next seek.
    m_file.rdbuf()->pubsetbuf(nullptr, 0);
    m_file.open(path, std::ios::in | std::ios::binary);
    if (!m_file.is_open()) return false;
    m_file.seekg(0, std::ios::end);
    const std::streamoff end = m_file.tellg();
    m_size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    m_file.clear();
    return true;
}

void FileByteSource::close() {
    if (m_file.is_open()) m_file.close();
    m_file.clear();
    m_size = 0;
}

std::size_t FileByteSource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (!m_file.is_open() || out.empty() || offset >= m_size) return 0;
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (!m_file) {
        m_file.clear();
        return 0;
    }
    m_file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    const std::streamsize got = m_file.gcount();
    m_file.clear();
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

}  // namespace zentrova
