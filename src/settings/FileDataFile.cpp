#include "settings/FileDataFile.h"

#include "common/AtomicFileWriter.h"
#include "common/Localization.h"
#include "common/Log.h"

#include <fstream>

namespace zentrova {

FileDataReadResult readFileData(const std::string& path, FILEDATA& record) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileDataReadResult::CannotOpen;
    // One byte more than a record tells a longer file from a complete one.
    char buffer[kFileDataSize + 1];
    in.read(buffer, sizeof buffer);
    if (in.bad() || in.gcount() != static_cast<std::streamsize>(kFileDataSize)) {
        return FileDataReadResult::NotASettingsFile;
    }
    FileDataBytes bytes;
    for (std::size_t i = 0; i < kFileDataSize; ++i) bytes[i] = static_cast<std::uint8_t>(buffer[i]);
    record = fileDataFromBytes(bytes);
    return FileDataReadResult::Read;
}

std::optional<std::string> writeFileData(const FILEDATA& record, const std::string& path, AtomicFileWriter& writer) {
    const FileDataBytes bytes = fileDataBytes(record);
    if (std::optional<std::string> error = writer.replaceFile(path, bytes)) {
        logLine(*error);
        return std::string(TextKey{"msg.file_open_fail"}.key);
    }
    return std::nullopt;
}

std::optional<std::string> writeResetFileData(const std::string& path, AtomicFileWriter& writer) {
    FILEDATA record;
    resetFileData(record);
    return writeFileData(record, path, writer);
}

}  // namespace zentrova
