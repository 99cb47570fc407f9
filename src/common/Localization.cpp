#include "common/Localization.h"

#include "common/Log.h"
#include "common/StringsTable.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <optional>

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

struct Conversion {
    bool leftAlign = false;
    bool plusSign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    std::optional<int> precision;
    char type = '@';
};

Conversion parseConversion(std::string_view conversion) {
    Conversion c;
    size_t i = 1;
    for (; i < conversion.size() && std::string_view("-+ #0'").find(conversion[i]) != std::string_view::npos; ++i) {
        if (conversion[i] == '-') c.leftAlign = true;
        if (conversion[i] == '+') c.plusSign = true;
        if (conversion[i] == '0') c.zeroPad = true;
    }
    for (; i < conversion.size() && conversion[i] >= '0' && conversion[i] <= '9'; ++i) c.width = c.width * 10 + size_t(conversion[i] - '0');
    if (i < conversion.size() && conversion[i] == '.') {
        int precision = 0;
        for (++i; i < conversion.size() && conversion[i] >= '0' && conversion[i] <= '9'; ++i) {
            precision = precision * 10 + (conversion[i] - '0');
        }
        c.precision = precision;
    }
    c.type = conversion.back();
    return c;
}

std::string numberDigits(const Conversion& c, double value) {
    char buffer[512];
    std::to_chars_result result{buffer, std::errc()};
    char* end = buffer + sizeof buffer;
    switch (c.type) {
    case 'f': case 'F':
        result = std::to_chars(buffer, end, value, std::chars_format::fixed, c.precision.value_or(6));
        break;
    case 'e': case 'E':
        result = std::to_chars(buffer, end, value, std::chars_format::scientific, c.precision.value_or(6));
        break;
    case 'g': case 'G':
        result = std::to_chars(buffer, end, value, std::chars_format::general, c.precision.value_or(6));
        break;
    case '@':
        result = std::to_chars(buffer, end, value);
        break;
    default:
        result = std::to_chars(buffer, end, std::fabs(value) < 9e18 ? static_cast<long long>(std::trunc(value)) : 0LL);
        break;
    }
    if (result.ec != std::errc()) return std::string();
    std::string digits(buffer, result.ptr);
    if (c.type == 'E' || c.type == 'G' || c.type == 'F') {
        for (char& ch : digits) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    }
    return digits;
}

std::string formattedNumber(std::string_view conversion, double value) {
    Conversion c = parseConversion(conversion);
    std::string text = numberDigits(c, value);
    if (c.plusSign && !text.empty() && text[0] != '-') text.insert(text.begin(), '+');
    if (text.size() >= c.width) return text;
    size_t padding = c.width - text.size();
    if (c.leftAlign) return text + std::string(padding, ' ');
    if (c.zeroPad && std::isfinite(value)) {
        size_t afterSign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
        return text.insert(afterSign, padding, '0');
    }
    return std::string(padding, ' ') + text;
}

template <typename Arg, typename Fill>
std::string substituteConversions(std::string_view format, std::span<const Arg> args, Fill fill) {
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
        if (next != args.end()) out += fill(format.substr(i, length), *next++);
        i += length - 1;
    }
    return out;
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

std::string fillFormat(std::string_view format, std::span<const std::string> args) {
    return substituteConversions(format, args, [](std::string_view, const std::string& arg) { return arg; });
}

std::string fillFormat(std::string_view format, std::initializer_list<std::string> args) {
    return fillFormat(format, std::span<const std::string>(args.begin(), args.size()));
}

std::string fillNumberFormat(std::string_view format, std::initializer_list<double> args) {
    return substituteConversions(format, std::span<const double>(args.begin(), args.size()), formattedNumber);
}

}  // namespace zentrova
