#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrova {

// One step through UTF-8 text: the character that starts at a position and
// the bytes it takes. A byte that does not start a well-formed sequence
// (stray continuation, overlong form, surrogate, beyond U+10FFFF, cut off)
// is a step of its own with valid false.
struct Utf8Step {
    char32_t codePoint = 0;
    std::size_t length = 1;
    bool valid = false;
};

// text[at] must exist.
Utf8Step utf8StepAt(std::string_view text, std::size_t at);

// Strict UTF-8: no overlong forms, surrogates or values above U+10FFFF.
bool isValidUtf8(std::string_view text);

void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace zentrova
