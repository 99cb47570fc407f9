#pragma once

#include "common/FileSave.h"

#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

class AtomicFileWriter;
class FlashDataTable;

// The drive-log table as CSV: the column titles, then one line per record,
// fields separated by "," and lines ended by "\n", UTF-8.
class FlashDataCsv {
public:
    static std::string csvText(const FlashDataTable& table);

    // A field as it stands, unless it holds a comma, a quote or a line break:
    // then it is quoted and its quotes doubled, so that every line keeps its
    // 15 fields when read back.
    static std::string csvField(std::string_view text);

    // Makes the CSV text the whole content of the file at path (no trace of a
    // longer old file stays); on failure the old file stays as it was.
    static FileSaveResult doWriteCSVFile(const FlashDataTable& table, const std::string& path,
                                         AtomicFileWriter& writer);
};

}  // namespace zentrova
