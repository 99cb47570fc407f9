#include "telemetry/export/XmlText.h"

#include "common/Utf8.h"

#include <cstdint>

namespace zentrova {
namespace {

// Length of the UTF-8 sequence at text[at] that XML may hold, or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    const Utf8Step step = utf8StepAt(text, at);
    const bool notACharacter = step.codePoint == 0xFFFE || step.codePoint == 0xFFFF;
    return step.valid && !notACharacter ? step.length : 0;
}

}  // namespace

void appendXmlText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x80) {
            const std::size_t length = utf8SequenceLength(text, i);
            if (length == 0) {
                out += '?';
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            out += (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') ? '?' : c;
        }
        ++i;
    }
}

}  // namespace zentrova
