#pragma once

#include "common/Utf8.h"
#include "telemetry/NmeaFieldList.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace zentrova {

// How the sentence operations read one comma-separated field.

// One pass over a whole sentence: splits the part before its only '*' at
// the commas into out: n commas give n + 1 fields, empty ones included, as
// views into sentence. False (out then holds anything) when the sentence
// holds no '*' or more than one, or is not valid UTF-8.
bool splitNmeaSentence(std::string_view sentence, NmeaFieldList& out);

// The field at index, or an empty field when the sentence is shorter.
inline std::string_view nmeaField(std::span<const std::string_view> fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view();
}

// Leading decimal digits (blanks skipped, optional sign); 0 when there are
// none. Values beyond the 32-bit range saturate.
std::int32_t nmeaInteger(std::string_view field);

// Leading decimal number read in single precision, then widened.
double nmeaReal(std::string_view field);

// One "%0<width>d" conversion at the front of text, as scanf reads it:
// white space skipped, then at most width characters (a sign counts).
// Consumes what it read; false (text unchanged past the blanks) when no
// digit was found.
bool scanWidthInteger(std::string_view& text, int width, int& value);

// Counts code points; text must be valid UTF-8.
std::size_t utf8Length(std::string_view text);

}  // namespace zentrova
