#pragma once

#include <string>
#include <string_view>

namespace zentrova {

// Appends text as XML character data or attribute value: markup characters
// escaped, and bytes that XML 1.0 cannot hold (controls other than tab, LF
// and CR, and invalid UTF-8) replaced by "?", so the document stays
// well-formed whatever a file name holds.
void appendXmlText(std::string& out, std::string_view text);

}  // namespace zentrova
