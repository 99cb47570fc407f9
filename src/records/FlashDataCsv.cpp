#include "records/FlashDataCsv.h"

#include "common/AtomicFileWriter.h"
#include "common/Localization.h"
#include "common/Log.h"
#include "records/FlashDataTable.h"

#include <cstdint>
#include <span>

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

std::optional<std::string> FlashDataCsv::doWriteCSVFile(const FlashDataTable& table, const std::string& path,
                                                        AtomicFileWriter& writer) {
    const std::string text = csvText(table);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (std::optional<std::string> error = writer.replaceFile(path, std::span(bytes, text.size()))) {
        logLine(*error);
        return std::string(TextKey{"msg.file_open_fail"}.key);
    }
    return std::nullopt;
}

}  // namespace zentrova
