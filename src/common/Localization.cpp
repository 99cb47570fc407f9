#include "common/Localization.h"

#include "common/Log.h"
#include "common/StringsTable.h"

namespace zentrova {

extern const std::string_view kInfoPlistTableText;

namespace {

const StringsTable& infoPlistTable() {
    static const StringsTable table = [] {
        std::string error;
        auto parsed = StringsTable::parse(kInfoPlistTableText, &error);
        if (!parsed) {
            logLine("string table unreadable: " + error);
            return StringsTable{};
        }
        return *parsed;
    }();
    return table;
}

// Length of a printf conversion starting at format[i] == '%', or 0.
size_t conversionLength(std::string_view format, size_t i) {
    size_t j = i + 1;
    while (j < format.size() && std::string_view("-+ #0123456789.*'").find(format[j]) != std::string_view::npos) ++j;
    while (j < format.size() && std::string_view("hlqLjzt").find(format[j]) != std::string_view::npos) ++j;
    if (j < format.size() && std::string_view("@diouxXeEfFgGcsp").find(format[j]) != std::string_view::npos) {
        return j + 1 - i;
    }
    return 0;
}

}  // namespace

std::string localized(std::string_view key) {
    const std::string* text = infoPlistTable().find(key);
    return text ? *text : std::string();
}

bool hasLocalizedText(std::string_view key) {
    const std::string* text = infoPlistTable().find(key);
    return text && !text->empty();
}

std::vector<std::string> localizedKeys() { return infoPlistTable().keys(); }

std::string fillFormat(std::string_view format, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out.push_back(format[i]);
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        size_t length = conversionLength(format, i);
        if (length == 0) {
            out.push_back('%');
            continue;
        }
        if (next != args.end()) out += *next++;
        i += length - 1;
    }
    return out;
}

}  // namespace zentrova
