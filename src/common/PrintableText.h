#pragma once

#include <string>
#include <string_view>

namespace zentrova {

// Text from outside (file names) made safe to print on a terminal line:
// control characters, the characters that reorder text and bytes that are
// not UTF-8 become backslash escapes ("\n", "\x1b", "\u202e", "\xff"), and a
// backslash is doubled, so one name stays one readable line and sends the
// terminal no commands.
std::string printableText(std::string_view text);
void appendPrintableText(std::string& out, std::string_view text);

}  // namespace zentrova
