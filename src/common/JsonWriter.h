#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// Builds compact JSON text. Separators are placed automatically; floating
// values are written in the shortest form that reads back to the same value
// of their own type.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(bool flag);
    JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(long number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<unsigned long long>(number)); }
    JsonWriter& value(unsigned long number) { return value(static_cast<unsigned long long>(number)); }
    JsonWriter& value(long long number);
    JsonWriter& value(unsigned long long number);
    JsonWriter& value(float number);
    JsonWriter& value(double number);
    JsonWriter& null();

    // A member holding text from outside (file names): the key with the
    // text, and when the text is not valid UTF-8 a second member, the key
    // followed by "Bytes", that keeps the exact bytes percent-encoded.
    JsonWriter& textMember(std::string_view name, std::string_view text);

    const std::string& text() const { return m_text; }

    // A JSON string of the text. Bytes that are not UTF-8 become U+FFFD, so
    // the result is valid JSON whatever the text holds.
    static std::string escaped(std::string_view text);
    static void appendEscaped(std::string& out, std::string_view text);

    // Every byte outside printable ASCII, and "%" itself, as "%XX".
    static std::string percentEncoded(std::string_view bytes);

private:
    void beforeValue();

    std::string m_text;
    // One entry per open container: whether it already holds an element.
    std::vector<bool> m_hasElement;
    bool m_afterKey = false;
};

}  // namespace zentrova
