#include "telemetry/FileByteSource.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

// A forward step of at most this many bytes past the last read counts as
// reading on; a larger one (video between the chunks) would throw away
// most of a window read ahead.
constexpr std::uint64_t kLargestForwardGap = FileByteSource::kWindowSize / 4;
// Larger reads gain nothing from going through the window.
constexpr std::size_t kLargestWindowedRead = FileByteSource::kWindowSize / 2;

}  // namespace

bool FileByteSource::open(const std::string& path) {
    close();
    // Opening a FIFO would wait for a writer for ever, and a device is no
    // recording: only regular files are read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    // Unbuffered: the reads below decide themselves how much to read at once.
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
    m_windowStart = 0;
    m_windowLength = 0;
    m_previousEnd = kNoRead;
}

std::size_t FileByteSource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (!m_file.is_open() || out.empty() || offset >= m_size) return 0;
    // What the file can give from offset; never more is asked of it.
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), m_size - offset));
    const std::span<std::uint8_t> wanted = out.first(count);
    std::size_t got = 0;
    if (windowHolds(offset, count)) {
        got = copyFromWindow(offset, wanted);
    } else if (continuesForward(offset, count)) {
        fillWindow(offset);
        got = copyFromWindow(offset, wanted);
    } else {
        got = readFromFile(offset, wanted);
    }
    m_previousEnd = offset + got;
    return got;
}

std::size_t FileByteSource::readFromFile(std::uint64_t offset, std::span<std::uint8_t> out) {
    // Straight to the file's buffer (none, see open()): one seek and one
    // read, without the stream's checks around each.
    std::filebuf& file = *m_file.rdbuf();
    const std::streampos at = file.pubseekpos(static_cast<std::streamoff>(offset), std::ios::in);
    if (at == std::streampos(std::streamoff(-1))) return 0;
    try {
        const std::streamsize got = file.sgetn(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    } catch (const std::ios_base::failure&) {
        // The buffer reports a failed read (a directory, a device error) by
        // throwing, where the stream would have set its state.
        return 0;
    }
}

bool FileByteSource::windowHolds(std::uint64_t offset, std::size_t count) const {
    return offset >= m_windowStart && offset - m_windowStart <= m_windowLength &&
           count <= m_windowLength - (offset - m_windowStart);
}

bool FileByteSource::continuesForward(std::uint64_t offset, std::size_t count) const {
    return m_readAhead && count <= kLargestWindowedRead && m_previousEnd != kNoRead && offset >= m_previousEnd &&
           offset - m_previousEnd <= kLargestForwardGap;
}

void FileByteSource::fillWindow(std::uint64_t offset) {
    m_window.resize(kWindowSize);
    const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, m_size - offset));
    m_windowStart = offset;
    m_windowLength = readFromFile(offset, std::span(m_window.data(), length));
}

std::size_t FileByteSource::copyFromWindow(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset < m_windowStart || offset - m_windowStart >= m_windowLength) return 0;
    const auto from = static_cast<std::size_t>(offset - m_windowStart);
    const std::size_t count = std::min(out.size(), m_windowLength - from);
    std::memcpy(out.data(), m_window.data() + from, count);
    return count;
}

}  // namespace zentrova
