#pragma once

#include "settings/FILEDATA.h"

#include <optional>
#include <string>

namespace zentrova {

class AtomicFileWriter;

enum class FileDataReadResult {
    Read,
    CannotOpen,
    // Not exactly 500 bytes, so not the camera's settings file.
    NotASettingsFile,
};

// Reads config.bin into the record; on any other result the record is untouched.
[[nodiscard]] FileDataReadResult readFileData(const std::string& path, FILEDATA& record);

// Writes the 500 bytes of the record in place of the file. None on success,
// else the key "msg.file_open_fail" (the system's error text is logged), and
// the old file stays as it was.
[[nodiscard]] std::optional<std::string> writeFileData(const FILEDATA& record, const std::string& path,
                                                       AtomicFileWriter& writer);

// Writes a freshly reset record; the result is writeFileData's.
[[nodiscard]] std::optional<std::string> writeResetFileData(const std::string& path, AtomicFileWriter& writer);

}  // namespace zentrova
