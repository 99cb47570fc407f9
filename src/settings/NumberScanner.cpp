#include "settings/NumberScanner.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace zentrova {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// Length of the number at the start of text (after the sign), 0 for none.
std::size_t numberLength(std::string_view text) {
    std::size_t i = skipDigits(text, 0);
    bool hasDigits = i > 0;
    if (i < text.size() && text[i] == '.') {
        std::size_t afterPoint = skipDigits(text, i + 1);
        hasDigits = hasDigits || afterPoint > i + 1;
        i = afterPoint;
    }
    if (!hasDigits) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        // An exponent without digits is not part of the number.
        if (j < text.size() && isDigit(text[j])) i = skipDigits(text, j);
    }
    return i;
}

// from_chars gives no value beyond double's range; the sign of the decimal
// exponent tells overflow (infinity) from underflow (zero). The exponent may
// be any number the text spells, so nothing is added to it: an exponent
// beyond long's range is taken as long's bound, which the position of the
// first significant digit (at most the text's length) can never outweigh.
double outOfRangeValue(std::string_view number) {
    std::size_t exponentAt = number.find_first_of("eE");
    std::string_view mantissa = number.substr(0, exponentAt);
    long exponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view digits = number.substr(exponentAt + 1);
        if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (ec == std::errc::result_out_of_range) {
            exponent = digits[0] == '-' ? std::numeric_limits<long>::min() : std::numeric_limits<long>::max();
        }
        (void)end;
    }
    std::size_t firstSignificant = mantissa.find_first_not_of("0.");
    if (firstSignificant == std::string_view::npos) return 0.0;
    std::size_t point = mantissa.find('.');
    if (point == std::string_view::npos) point = mantissa.size();
    long magnitude = firstSignificant < point ? static_cast<long>(point - firstSignificant)
                                              : -static_cast<long>(firstSignificant - point);
    // magnitude + exponent > 0, without the sum.
    return exponent > -magnitude ? std::numeric_limits<double>::infinity() : 0.0;
}

}  // namespace

std::optional<double> scanLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string_view number = text.substr(i, numberLength(text.substr(i)));
    if (number.empty()) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) value = outOfRangeValue(number);
    return negative ? -value : value;
}

}  // namespace zentrova
