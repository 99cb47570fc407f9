#pragma once

#include <optional>
#include <string_view>

namespace zentrova {

// Reads a decimal number from the start of a text the way a text scanner of
// the user interface does: leading white space is skipped, then an optional
// sign, digits with an optional decimal point (".5" and "5." are numbers) and
// an optional exponent; whatever follows is ignored. The decimal point is
// always ".", whatever the locale. None when no number starts the text.
std::optional<double> scanLeadingNumber(std::string_view text);

}  // namespace zentrova
