#include "settings/FileDataFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace zentrova {

FileDataReadResult readFileData(const std::string& path, FILEDATA& record) {
    // Opening a FIFO or a device would wait for a writer, or worse.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return FileDataReadResult::CannotOpen;
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

FileSaveResult writeFileData(const FILEDATA& record, const std::string& path, AtomicFileWriter& writer) {
    const FileDataBytes bytes = fileDataBytes(record);
    return saveFileWhole(writer, path, std::span<const std::uint8_t>(bytes));
}

FileSaveResult writeResetFileData(const std::string& path, AtomicFileWriter& writer) {
    FILEDATA record;
    resetFileData(record);
    return writeFileData(record, path, writer);
}

}  // namespace zentrova
