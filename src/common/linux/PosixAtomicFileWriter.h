#pragma once

#include "common/AtomicFileWriter.h"

namespace zentrova {

// Writes a temporary file beside the target, flushes it to the device and
// renames it over the target.
class PosixAtomicFileWriter : public AtomicFileWriter {
public:
    [[nodiscard]] std::optional<std::string> replaceFile(const std::string& path,
                                                         std::span<const std::uint8_t> bytes) override;
};

}  // namespace zentrova
