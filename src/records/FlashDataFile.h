#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/FLASH_SAVE_VALUE_STRUCT.h"

namespace zentrova {

// What a drive-log file held: the records that are complete in the file, in
// file order, and the count its header promised.
struct FlashDataContents {
    std::uint32_t declaredCount = 0;
    std::vector<FLASH_SAVE_VALUE_STRUCT> records;

    // False when the file ends before the header or a promised record ends.
    bool isComplete() const { return records.size() == declaredCount; }
};

// The camera's drive-log file (".drv"): a 12-byte header whose first four
// bytes are the record count, then the records back to back.
class FlashDataFile {
public:
    static constexpr std::size_t kHeaderSize = 12;

    // Absent (after the log line "fopen fail:<path>") when the file cannot be
    // opened. A file shorter than its header promises gives only its complete
    // records; memory is bounded by the file's length, never by the count.
    static std::optional<FlashDataContents> doReadFlashDataFile(const std::string& path);
};

}  // namespace zentrova
