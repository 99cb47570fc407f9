#pragma once

#include "common/AtomicFileWriter.h"

namespace zentrova {

// Writes a temporary file beside the target, flushes it to the device and
// renames it over the target. A symbolic link is written through: its
// target gets the new content and the link stays. Only a regular file (or
// none) is replaced; a folder, FIFO or device at the path is an error.
class PosixAtomicFileWriter : public AtomicFileWriter {
public:
    [[nodiscard]] std::optional<std::string> replaceFile(const std::string& path,
                                                         std::span<const std::uint8_t> bytes) override;
};

}  // namespace zentrova
