#include "card/SizeText.h"

#include <string_view>

namespace zentrova {
namespace {

constexpr std::string_view kUnitLetters = "kMGTPEZY";
constexpr int kMaxDivisions = 8;

// Rounds value to the nearest by the part below it (out of 2 * half);
// an exact half goes up only when value is odd or a lower part was lost.
std::uint64_t roundedHalfEven(std::uint64_t value, std::uint64_t below, std::uint64_t half, bool sticky) {
    if (below > half || (below == half && ((value & 1) != 0 || sticky))) return value + 1;
    return value;
}

std::string unitText(std::uint64_t number, char letter) {
    return std::to_string(number) + ' ' + letter + 'B';
}

}  // namespace

std::string sizeText(std::uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " B";

    std::uint64_t value = bytes;
    std::uint64_t before = 0;
    std::uint64_t remainder = 0;
    bool sticky = false;
    int divisions = 0;
    do {
        if (divisions > 0 && remainder != 0) sticky = true;
        before = value;
        remainder = value & 1023;
        value >>= 10;
        ++divisions;
    } while (before > 0xFFFFF && divisions < kMaxDivisions);

    const char unit = kUnitLetters[divisions - 1];
    if (value >= 10) {
        const std::uint64_t whole = roundedHalfEven(value, remainder, 512, sticky);
        if (whole == 1024 && divisions < kMaxDivisions) return std::string("1.0 ") + kUnitLetters[divisions] + 'B';
        return unitText(whole, unit);
    }
    if (remainder < 950) {
        const std::uint64_t tenths = roundedHalfEven(remainder / 100, remainder % 100, 50, sticky);
        return std::to_string(value) + '.' + std::to_string(tenths) + ' ' + unit + 'B';
    }
    // Rounds up to the next whole number of the unit: 9.95 shows as 10, and
    // below that the text keeps its decimal, as the exact value would show.
    if (value == 9) return unitText(10, unit);
    return std::to_string(value + 1) + ".0 " + unit + 'B';
}

}  // namespace zentrova
