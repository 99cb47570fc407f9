#include "common/FileSave.h"

#include "common/AtomicFileWriter.h"
#include "common/Localization.h"
#include "common/Log.h"

namespace zentrova {

FileSaveResult saveFileWhole(AtomicFileWriter& writer, const std::string& path, std::span<const std::uint8_t> bytes) {
    std::optional<std::string> error = writer.replaceFile(path, bytes);
    if (!error) return {};
    logLine(*error);
    return {std::string(TextKey{"msg.file_open_fail"}.key), std::move(*error)};
}

FileSaveResult saveFileWhole(AtomicFileWriter& writer, const std::string& path, std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    return saveFileWhole(writer, path, std::span(bytes, text.size()));
}

}  // namespace zentrova
