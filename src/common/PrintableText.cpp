#include "common/PrintableText.h"

#include "common/Utf8.h"

#include <cstdio>

namespace zentrova {
namespace {

bool needsEscape(char32_t c) {
    const bool c0OrDelete = c < 0x20 || c == 0x7F;
    const bool c1 = c >= 0x80 && c <= 0x9F;
    const bool reordering = (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
                            c == 0x200F || c == 0x061C;
    return c0OrDelete || c1 || reordering || c == '\\';
}

void appendEscape(std::string& out, char32_t c) {
    switch (c) {
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    char escape[12];
    if (c < 0x80) {
        std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
    } else {
        std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
    }
    out += escape;
}

bool isPlainAscii(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x7F && c != '\\';
}

}  // namespace

std::string printableText(std::string_view text) {
    std::string out;
    appendPrintableText(out, text);
    return out;
}

void appendPrintableText(std::string& out, std::string_view text) {
    // Names are nearly always plain ASCII: copied in one go.
    std::size_t plain = 0;
    while (plain < text.size() && isPlainAscii(text[plain])) ++plain;
    out.append(text.substr(0, plain));
    for (std::size_t at = plain; at < text.size();) {
        const Utf8Step step = utf8StepAt(text, at);
        if (!step.valid) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(static_cast<unsigned char>(text[at])));
            out += escape;
        } else if (needsEscape(step.codePoint)) {
            appendEscape(out, step.codePoint);
        } else {
            out.append(text.substr(at, step.length));
        }
        at += step.length;
    }
}

}  // namespace zentrova
