#pragma once

#include "common/FileSave.h"
#include "settings/FILEDATA.h"

#include <optional>
#include <string>

namespace zentrova {

class AtomicFileWriter;

enum class FileDataReadResult {
    Read,
    // Missing, unreadable or not a regular file.
    CannotOpen,
    // Not exactly 500 bytes, so not the camera's settings file.
    NotASettingsFile,
};

// Reads config.bin into the record; on any other result the record is untouched.
[[nodiscard]] FileDataReadResult readFileData(const std::string& path, FILEDATA& record);

// Writes the 500 bytes of the record in place of the file; on failure the
// old file stays as it was.
FileSaveResult writeFileData(const FILEDATA& record, const std::string& path, AtomicFileWriter& writer);

// Writes a freshly reset record; the result is writeFileData's.
FileSaveResult writeResetFileData(const std::string& path, AtomicFileWriter& writer);

}  // namespace zentrova
