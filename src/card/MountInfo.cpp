#include "card/MountInfo.h"

#include <charconv>
#include <optional>

namespace zentrova {
namespace {

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = line.find(' ', start);
        const size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start) fields.push_back(line.substr(start, stop - start));
        start = stop + 1;
    }
    return fields;
}

bool parseDeviceNumber(std::string_view text, unsigned& major, unsigned& minor) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const char* begin = text.data();
    auto [majorEnd, majorError] = std::from_chars(begin, begin + colon, major);
    auto [minorEnd, minorError] = std::from_chars(begin + colon + 1, begin + text.size(), minor);
    return majorError == std::errc() && minorError == std::errc() && majorEnd == begin + colon &&
           minorEnd == begin + text.size();
}

// Fields: id parent major:minor root mount-point options [optional...] - type source super-options
std::optional<MountEntry> parseLine(std::string_view line) {
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (fields.size() < 10) return std::nullopt;
    size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (separator + 2 >= fields.size()) return std::nullopt;
    MountEntry entry;
    if (!parseDeviceNumber(fields[2], entry.major, entry.minor)) return std::nullopt;
    entry.root = decodeOctalEscapes(fields[3]);
    entry.mountPoint = decodeOctalEscapes(fields[4]);
    entry.fileSystemType = decodeOctalEscapes(fields[separator + 1]);
    entry.source = decodeOctalEscapes(fields[separator + 2]);
    return entry;
}

}  // namespace

std::string decodeOctalEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && isOctalDigit(text[i + 1]) && isOctalDigit(text[i + 2]) &&
            isOctalDigit(text[i + 3])) {
            out.push_back(static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (auto entry = parseLine(text.substr(start, end - start))) entries.push_back(std::move(*entry));
        start = end + 1;
    }
    return entries;
}

}  // namespace zentrova
