#include "telemetry/export/CsvLine.h"

#include "telemetry/export/DecimalText.h"

namespace zentrova {

void CsvLine::separate() {
    if (m_hasField) m_line += ',';
    m_hasField = true;
}

CsvLine& CsvLine::text(std::string_view field) {
    separate();
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        m_line += field;
        return *this;
    }
    m_line += '"';
    for (char c : field) {
        if (c == '"') m_line += '"';
        m_line += c;
    }
    m_line += '"';
    return *this;
}

CsvLine& CsvLine::number(double value) {
    separate();
    appendDecimal(m_line, value);
    return *this;
}

CsvLine& CsvLine::number(double value, int decimals) {
    separate();
    appendDecimal(m_line, value, decimals);
    return *this;
}

CsvLine& CsvLine::reading(float value) {
    separate();
    appendReading(m_line, value);
    return *this;
}

CsvLine& CsvLine::reading(double value) {
    separate();
    appendReading(m_line, value);
    return *this;
}

CsvLine& CsvLine::integer(std::uint64_t value) {
    separate();
    m_line += std::to_string(value);
    return *this;
}

CsvLine& CsvLine::empty() {
    separate();
    return *this;
}

void CsvLine::appendTo(std::string& out) {
    out += m_line;
    out += "\r\n";
    m_line.clear();
    m_hasField = false;
}

}  // namespace zentrova
