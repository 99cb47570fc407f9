#pragma once

#include "telemetry/ByteSource.h"

#include <fstream>
#include <string>

namespace zentrova {

// A file opened read-only as raw bytes, read by absolute positions.
class FileByteSource : public ByteSource {
public:
    FileByteSource() = default;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // False when the file cannot be opened.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return m_file.is_open(); }

    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::uint64_t size() const override { return m_size; }

private:
    std::ifstream m_file;
    std::uint64_t m_size = 0;
};

}  // namespace zentrova
