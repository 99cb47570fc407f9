#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrova {

// szPlateNumber holds 8 bytes with no terminator.
constexpr std::size_t kCarNumberMaximumLength = 8;

// The plate-number field's text when editing ends: only the ASCII letters and
// digits, in order and case, at most eight of them. The bytes of a non-ASCII
// character (UTF-8) are all dropped.
std::string filteredCarNumber(std::string_view text);

}  // namespace zentrova
