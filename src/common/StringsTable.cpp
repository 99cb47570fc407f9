#include "common/StringsTable.h"

namespace zentrova {
namespace {

class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    void skipBlanksAndComments() {
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++m_pos;
            } else if (m_text.substr(m_pos, 2) == "//") {
                size_t end = m_text.find('\n', m_pos);
                m_pos = end == std::string_view::npos ? m_text.size() : end;
            } else if (m_text.substr(m_pos, 2) == "/*") {
                size_t end = m_text.find("*/", m_pos + 2);
                m_pos = end == std::string_view::npos ? m_text.size() : end + 2;
            } else {
                break;
            }
        }
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    bool take(char c) {
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    size_t position() const { return m_pos; }

    std::optional<std::string> quoted() {
        if (!take('"')) return std::nullopt;
        std::string out;
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos++];
            if (c == '"') return out;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (m_pos >= m_text.size()) return std::nullopt;
            char e = m_text[m_pos++];
            switch (e) {
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case 'r': out.push_back('\r'); break;
            default: out.push_back(e); break;
            }
        }
        return std::nullopt;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

}  // namespace

std::optional<StringsTable> StringsTable::parse(std::string_view text, std::string* error) {
    StringsTable table;
    Cursor cursor(text);
    auto fail = [&](const char* what) -> std::optional<StringsTable> {
        if (error) *error = std::string(what) + " at offset " + std::to_string(cursor.position());
        return std::nullopt;
    };
    for (;;) {
        cursor.skipBlanksAndComments();
        if (cursor.atEnd()) break;
        auto key = cursor.quoted();
        if (!key) return fail("expected a quoted key");
        cursor.skipBlanksAndComments();
        if (!cursor.take('=')) return fail("expected '='");
        cursor.skipBlanksAndComments();
        auto value = cursor.quoted();
        if (!value) return fail("expected a quoted text");
        cursor.skipBlanksAndComments();
        if (!cursor.take(';')) return fail("expected ';'");
        if (table.m_texts.emplace(*key, *value).second) {
            table.m_keys.push_back(*key);
        } else {
            return fail("duplicate key");
        }
    }
    return table;
}

const std::string* StringsTable::find(std::string_view key) const {
    auto it = m_texts.find(key);
    return it == m_texts.end() ? nullptr : &it->second;
}

}  // namespace zentrova
