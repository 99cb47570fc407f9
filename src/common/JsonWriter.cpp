#include "common/JsonWriter.h"

#include "common/Utf8.h"

#include <charconv>
#include <cmath>

namespace zentrova {

void JsonWriter::beforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasElement.empty()) {
        if (m_hasElement.back()) m_text.push_back(',');
        m_hasElement.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    m_text.push_back('{');
    m_hasElement.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    m_text.push_back('}');
    if (!m_hasElement.empty()) m_hasElement.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    m_text.push_back('[');
    m_hasElement.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    m_text.push_back(']');
    if (!m_hasElement.empty()) m_hasElement.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    appendEscaped(m_text, name);
    m_text.push_back(':');
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    beforeValue();
    appendEscaped(m_text, text);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    beforeValue();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::value(long long number) {
    beforeValue();
    m_text += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(unsigned long long number) {
    beforeValue();
    m_text += std::to_string(number);
    return *this;
}

namespace {

template <typename T>
std::string shortest(T number) {
    // JSON has no NaN or infinity.
    if (!std::isfinite(number)) return "null";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

}  // namespace

JsonWriter& JsonWriter::value(float number) {
    beforeValue();
    m_text += shortest(number);
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    beforeValue();
    m_text += shortest(number);
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    m_text += "null";
    return *this;
}

JsonWriter& JsonWriter::textMember(std::string_view name, std::string_view text) {
    key(name).value(text);
    if (!isValidUtf8(text)) key(std::string(name) + "Bytes").value(percentEncoded(text));
    return *this;
}

std::string JsonWriter::escaped(std::string_view text) {
    std::string out;
    appendEscaped(out, text);
    return out;
}

void JsonWriter::appendEscaped(std::string& out, std::string_view text) {
    static const char* hex = "0123456789abcdef";
    out.reserve(out.size() + text.size() + 2);
    out.push_back('"');
    size_t runStart = 0;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        if (c >= 0x80) {
            const Utf8Step step = utf8StepAt(text, i);
            if (step.valid) {
                i += step.length;
                continue;
            }
        }
        out.append(text.data() + runStart, i - runStart);
        ++i;
        runStart = i;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c >= 0x80) {
                out += "\xEF\xBF\xBD";  // U+FFFD
                break;
            }
            out += "\\u00";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    out.append(text.data() + runStart, text.size() - runStart);
    out.push_back('"');
}

std::string JsonWriter::percentEncoded(std::string_view bytes) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x20 && c < 0x7F && c != '%') {
            out.push_back(byte);
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

}  // namespace zentrova
