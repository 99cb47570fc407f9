#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zentrova {

class AtomicFileWriter;

// What saving a file whole came to.
struct [[nodiscard]] FileSaveResult {
    // None when the file holds the new bytes; else the string-table key of
    // the message for the user ("msg.file_open_fail").
    std::optional<std::string> errorKey;
    // The system's text of the failure ("No space left on device"); empty
    // on success.
    std::string reason;

    bool saved() const { return !errorKey; }
};

// Replaces the file at path by the bytes through the writer; a failure is
// also logged with its reason. The old file stays as it was on failure.
FileSaveResult saveFileWhole(AtomicFileWriter& writer, const std::string& path, std::span<const std::uint8_t> bytes);
FileSaveResult saveFileWhole(AtomicFileWriter& writer, const std::string& path, std::string_view text);

}  // namespace zentrova
