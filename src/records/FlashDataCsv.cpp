#include "records/FlashDataCsv.h"

#include "records/FlashDataTable.h"

#include <cstdint>

namespace zentrova {
namespace {

template <typename CellOf>
void appendLine(std::string& text, CellOf cellOf) {
    for (int column = 0; column < FlashDataTable::kColumnCount; ++column) {
        text += FlashDataCsv::csvField(cellOf(column));
        text.push_back(column + 1 < FlashDataTable::kColumnCount ? ',' : '\n');
    }
}

}  // namespace

std::string FlashDataCsv::csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

std::string FlashDataCsv::csvText(const FlashDataTable& table) {
    std::string text;
    appendLine(text, [](int column) { return FlashDataTable::columnTitle(column); });
    for (std::int64_t row = 0; row < table.flashDataNum(); ++row) {
        appendLine(text, [&](int column) { return table.stringForColumnIndex(column, row); });
    }
    return text;
}

FileSaveResult FlashDataCsv::doWriteCSVFile(const FlashDataTable& table, const std::string& path,
                                            AtomicFileWriter& writer) {
    return saveFileWhole(writer, path, csvText(table));
}

}  // namespace zentrova
