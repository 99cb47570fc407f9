#include "card/UdevRecord.h"

namespace zentrova {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

UdevRecord UdevRecord::parse(std::string_view text) {
    UdevRecord record;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with("E:")) continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 2) continue;
        record.m_properties.insert_or_assign(std::string(line.substr(2, equals - 2)),
                                             std::string(line.substr(equals + 1)));
    }
    return record;
}

std::optional<std::string> UdevRecord::property(std::string_view key) const {
    auto it = m_properties.find(key);
    if (it == m_properties.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> UdevRecord::encodedProperty(std::string_view key) const {
    if (auto encoded = property(std::string(key) + "_ENC")) return decodeHexEscapes(*encoded);
    return property(key);
}

std::string decodeHexEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && hexValue(text[i + 2]) >= 0 &&
            hexValue(text[i + 3]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 2]) * 16 + hexValue(text[i + 3])));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace zentrova
