#pragma once

#include "telemetry/ByteSource.h"

#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace zentrova {

// A file opened read-only as raw bytes, read by absolute positions.
// Small reads that move forward in short steps (the telemetry chunks, when
// nothing lies between them) are served from a window read ahead in one
// go; any other read goes to the file as it is asked.
class FileByteSource : public ByteSource {
public:
    // Bytes read ahead at once; also the most the window takes up.
    static constexpr std::size_t kWindowSize = 32 * 1024;

    FileByteSource() = default;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // False when the file cannot be opened or is not a regular file.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return m_file.is_open(); }

    // Off: every read goes to the file as asked, for readers that jump from
    // box header to box header and must not pull in the media between them.
    void setReadAhead(bool on) { m_readAhead = on; }

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::uint64_t size() const override { return m_size; }

private:
    static constexpr std::uint64_t kNoRead = std::numeric_limits<std::uint64_t>::max();

    std::size_t readFromFile(std::uint64_t offset, std::span<std::uint8_t> out);
    bool windowHolds(std::uint64_t offset, std::size_t count) const;
    bool continuesForward(std::uint64_t offset, std::size_t count) const;
    void fillWindow(std::uint64_t offset);
    std::size_t copyFromWindow(std::uint64_t offset, std::span<std::uint8_t> out) const;

    std::ifstream m_file;
    std::uint64_t m_size = 0;
    std::vector<std::uint8_t> m_window;  // kWindowSize bytes once first used
    std::uint64_t m_windowStart = 0;
    std::size_t m_windowLength = 0;       // bytes of the file the window holds
    std::uint64_t m_previousEnd = kNoRead;  // where the last read stopped
    bool m_readAhead = true;
};

}  // namespace zentrova
