#include "telemetry/NmeaFields.h"

#include "telemetry/ByteRuns.h"

#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace zentrova {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view skipSpaces(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    return text;
}

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && isDigit(text[i])) ++i;
    return i - from;
}

// The length of the decimal number at the front of text (no sign), 0 when
// there is none: digits, an optional fraction, an optional exponent.
std::size_t decimalNumberLength(std::string_view text) {
    std::size_t i = countDigits(text, 0);
    std::size_t mantissaDigits = i;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = countDigits(text, i + 1);
        mantissaDigits += fraction;
        if (mantissaDigits > 0) i += 1 + fraction;
    }
    if (mantissaDigits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t exponentDigits = countDigits(text, j);
        if (exponentDigits > 0) i = j + exponentDigits;
    }
    return i;
}

bool hasNegativeExponent(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    return e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
}

// Powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kLargestExactInteger = std::uint64_t{1} << 53;
// The same for float: 10^10 = 2^10 * 5^10 and 5^10 < 2^24.
constexpr std::array<float, 11> kExactFloatPowersOfTen = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                          1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
constexpr std::uint64_t kLargestExactFloatInteger = std::uint64_t{1} << 24;
// Float arithmetic is done in float, so a float division rounds once.
static_assert(FLT_EVAL_METHOD == 0);
constexpr int kMostMantissaDigits = 19;  // any 19 digits fit in 64 bits

// True when value lies exactly halfway between two neighbouring floats.
// Only for values in the normal range of float: the 29 bits a double keeps
// below a float's last bit are then exactly 1000...0.
bool isHalfwayBetweenFloats(double value) {
    constexpr std::uint64_t kBelowFloat = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t kHalf = std::uint64_t{1} << 28;
    return (std::bit_cast<std::uint64_t>(value) & kBelowFloat) == kHalf;
}

// Appends the digits at text[i...] to mantissa; false past kMostMantissaDigits.
bool takeDigits(std::string_view text, std::size_t& i, std::uint64_t& mantissa, int& digits) {
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (++digits > kMostMantissaDigits) return false;
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    return true;
}

// The common case in one pass, without the general conversion: a number at
// the front of text made of digits with an optional point and fraction, no
// exponent, at most 2^53 as an integer, at most 22 fraction digits; none
// for anything else. The integer and the power of ten are exact doubles,
// so the one division rounds the decimal correctly to a double. Rounding
// that double to float gives the correctly rounded float too, unless it
// landed exactly halfway between two floats (where the decimal may have
// been on either side); those go to the general conversion as well. The
// results are therefore those of from_chars, bit for bit.
std::optional<float> plainDecimalAtFront(std::string_view text) {
    std::uint64_t mantissa = 0;
    int digits = 0;
    std::size_t i = 0;
    if (!takeDigits(text, i, mantissa, digits)) return std::nullopt;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        const int whole = digits;
        ++i;
        if (!takeDigits(text, i, mantissa, digits)) return std::nullopt;
        fractionDigits = static_cast<std::size_t>(digits - whole);
    }
    if (digits == 0 || (i < text.size() && (text[i] == 'e' || text[i] == 'E'))) return std::nullopt;
    // Integer and power of ten exact floats: the one division in float is
    // then correctly rounded, with no double in between.
    if (mantissa <= kLargestExactFloatInteger && fractionDigits < kExactFloatPowersOfTen.size()) {
        return static_cast<float>(mantissa) / kExactFloatPowersOfTen[fractionDigits];
    }
    if (mantissa > kLargestExactInteger || fractionDigits >= kExactPowersOfTen.size()) return std::nullopt;
    // At least 1e-22 and below 2^54 unless 0: inside the normal range of float.
    const double value = static_cast<double>(mantissa) / kExactPowersOfTen[fractionDigits];
    if (isHalfwayBetweenFloats(value)) return std::nullopt;
    return static_cast<float>(value);
}

float floatFromDecimal(std::string_view number) {
    // The conversion does not take a leading point.
    std::string text = number.front() == '.' ? "0" + std::string(number) : std::string(number);
    float value = 0.0f;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a float: as the C library would give it.
        double wide = 0.0;
        const auto wideResult = std::from_chars(text.data(), text.data() + text.size(), wide);
        const bool large = wideResult.ec == std::errc() ? wide > 1.0 : !hasNegativeExponent(number);
        return large ? std::numeric_limits<float>::infinity() : 0.0f;
    }
    return result.ec == std::errc() ? value : 0.0f;
}

// The fields that end at the commas of the run at base, the first starting
// at fieldStart; gives where the field after them starts.
std::size_t addFieldsEndingIn(const char* text, std::size_t base, std::uint64_t commas, std::size_t fieldStart,
                              NmeaFieldList& fields) {
    std::string_view* const room = fields.roomFor(kRunSize);
    std::size_t count = 0;
    for (; commas != 0; commas &= commas - 1) {
        const std::size_t comma = base + firstByteOf(commas);
        room[count++] = std::string_view(text + fieldStart, comma - fieldStart);
        fieldStart = comma + 1;
    }
    fields.added(count);
    return fieldStart;
}

// The run of text at base; a short last run is filled with NUL, which is
// neither a comma nor a star.
std::uint64_t runAt(const std::uint8_t* bytes, std::size_t base, std::size_t size) {
    const std::size_t left = size - base;
    return left >= kRunSize ? loadRun(bytes + base) : loadShortRun(bytes + base, left);
}

}  // namespace

bool splitNmeaSentence(std::string_view sentence, NmeaFieldList& out) {
    out.clear();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(sentence.data());
    const std::size_t size = sentence.size();
    std::size_t fieldStart = 0;
    std::uint64_t nonAscii = 0;
    std::uint64_t stars = 0;
    std::size_t base = 0;
    // Fields up to the first '*'; commas after it belong to the checksum
    // part and end no field.
    for (; base < size; base += kRunSize) {
        const std::uint64_t run = runAt(bytes, base, size);
        nonAscii |= nonAsciiBytes(run);
        stars = bytesEqual(run, '*');
        // All ones below the first star; all ones when there is none.
        const std::uint64_t firstStar = stars & (~stars + 1);
        const std::uint64_t beforeStar = firstStar - 1;
        fieldStart = addFieldsEndingIn(sentence.data(), base, bytesEqual(run, ',') & beforeStar, fieldStart, out);
        if (stars != 0) {
            out.add(sentence.substr(fieldStart, base + firstByteOf(firstStar) - fieldStart));
            stars &= ~firstStar;
            break;
        }
    }
    if (base >= size) return false;
    // The rest may hold no other '*'.
    for (base += kRunSize; base < size && stars == 0; base += kRunSize) {
        const std::uint64_t run = runAt(bytes, base, size);
        nonAscii |= nonAsciiBytes(run);
        stars = bytesEqual(run, '*');
    }
    if (stars != 0) return false;
    return nonAscii == 0 || isValidUtf8(sentence);
}

std::int32_t nmeaInteger(std::string_view field) {
    std::string_view text = skipSpaces(field);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (std::size_t i = 0; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

double nmeaReal(std::string_view field) {
    std::string_view text = skipSpaces(field);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (const std::optional<float> plain = plainDecimalAtFront(text)) {
        return static_cast<double>(negative ? -*plain : *plain);
    }
    const std::size_t length = decimalNumberLength(text);
    if (length == 0) return 0.0;
    const float magnitude = floatFromDecimal(text.substr(0, length));
    return static_cast<double>(negative ? -magnitude : magnitude);
}

bool scanWidthInteger(std::string_view& text, int width, int& value) {
    text = skipSpaces(text);
    std::size_t limit = width > 0 ? static_cast<std::size_t>(width) : 0;
    if (limit > text.size()) limit = text.size();
    std::size_t i = 0;
    bool negative = false;
    if (i < limit && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    int magnitude = 0;
    while (i < limit && isDigit(text[i])) {
        magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart) return false;
    value = negative ? -magnitude : magnitude;
    text.remove_prefix(i);
    return true;
}

std::size_t utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace zentrova
