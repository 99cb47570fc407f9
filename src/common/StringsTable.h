#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// Parses the text of a strings file: lines of "key" = "text"; with C-style
// escapes, and /* */ or // comments.
class StringsTable {
public:
    static std::optional<StringsTable> parse(std::string_view text, std::string* error = nullptr);

    const std::string* find(std::string_view key) const;
    const std::vector<std::string>& keys() const { return m_keys; }

private:
    std::map<std::string, std::string, std::less<>> m_texts;
    std::vector<std::string> m_keys;
};

}  // namespace zentrova
