#include "telemetry/export/DecimalText.h"

#include <charconv>
#include <cmath>

namespace zentrova {
namespace {

// Enough for the fixed form of any finite double (309 digits before the point).
constexpr std::size_t kBufferSize = 400;

template <typename T, typename... Precision>
void appendFixed(std::string& out, T value, Precision... precision) {
    // Exported formats have no text for NaN or infinity; callers leave such
    // fields out, and 0 keeps the document well-formed if one slips through.
    if (!std::isfinite(value)) {
        out += '0';
        return;
    }
    char buffer[kBufferSize];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision...);
    if (result.ec != std::errc()) {
        out += '0';
        return;
    }
    out.append(buffer, result.ptr);
}

}  // namespace

void appendDecimal(std::string& out, double value) { appendFixed(out, value); }

void appendDecimal(std::string& out, double value, int decimals) { appendFixed(out, value, decimals); }

void appendReading(std::string& out, double value) {
    const auto narrow = static_cast<float>(value);
    if (std::isfinite(value) && static_cast<double>(narrow) == value) {
        appendFixed(out, narrow);
    } else {
        appendFixed(out, value);
    }
}

void appendReading(std::string& out, float value) { appendFixed(out, value); }

std::string decimalText(double value) {
    std::string text;
    appendDecimal(text, value);
    return text;
}

}  // namespace zentrova
