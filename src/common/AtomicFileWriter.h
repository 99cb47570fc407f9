#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zentrova {

// Replaces a whole file so that a reader finds either the old content or the
// complete new one, never a torn file: the card may be full, pulled out or
// the computer may stop in the middle.
class AtomicFileWriter {
public:
    virtual ~AtomicFileWriter() = default;
    // None when the file at path holds exactly the bytes and they reached the
    // device; else the system's error text, and the old file is untouched.
    [[nodiscard]] virtual std::optional<std::string> replaceFile(const std::string& path,
                                                                 std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace zentrova
