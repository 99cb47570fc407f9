#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/FLASH_SAVE_VALUE_STRUCT.h"

namespace zentrova {

// Why a drive-log file that could be opened gave no records.
enum class FlashDataRefusal {
    None,
    TooManyRecords,  // the header promises and the file holds more than one reading takes
    OutOfMemory,
};

// What a drive-log file held: the records that are complete in the file, in
// file order, and the count its header promised.
struct FlashDataContents {
    std::uint32_t declaredCount = 0;
    std::vector<FLASH_SAVE_VALUE_STRUCT> records;
    FlashDataRefusal refusal = FlashDataRefusal::None;  // with it, no records

    // False when the file ends before the header or a promised record ends.
    bool isComplete() const { return records.size() == declaredCount; }
};

// The camera's drive-log file (".drv"): a 12-byte header whose first four
// bytes are the record count, then the records back to back.
class FlashDataFile {
public:
    static constexpr std::size_t kHeaderSize = 12;
    // The most records one reading holds (40 MiB of them, sixteen times what
    // the records' 16-bit sequence numbers can tell apart), so that memory
    // stays bounded however large a file, sparse or not, may be.
    static constexpr std::size_t kMostRecords = std::size_t{1} << 20;

    // Absent (after the log line "fopen fail:<path>") when the file cannot be
    // opened. A file shorter than its header promises gives only its complete
    // records; memory is bounded by the file's length and kMostRecords,
    // never by the count. A file that holds more than kMostRecords of the
    // records its header promises, or memory running out, gives no records
    // and the refusal.
    static std::optional<FlashDataContents> doReadFlashDataFile(const std::string& path);
};

}  // namespace zentrova
