#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zentrova {

// Builds one RFC 4180 record: fields separated by commas, a field quoted
// when it holds a comma, a quote, CR or LF (quotes doubled), ended by CR LF.
// Numbers always use "." whatever the locale.
class CsvLine {
public:
    CsvLine& text(std::string_view field);
    CsvLine& number(double value);
    CsvLine& number(double value, int decimals);
    CsvLine& reading(float value);
    CsvLine& reading(double value);
    CsvLine& integer(std::uint64_t value);
    CsvLine& empty();

    // Appends the record with its CR LF to out and starts a new one.
    void appendTo(std::string& out);

private:
    void separate();

    std::string m_line;
    bool m_hasField = false;
};

}  // namespace zentrova
