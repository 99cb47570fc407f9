#pragma once

#include "HelpText.h"

#include <string>
#include <string_view>
#include <vector>

namespace zentrova::manpage {

// Turns help-text pieces into man(7) source that groff reads without
// warnings: text escaped, options and commands in bold, placeholders in
// italics.
class RoffWriter {
public:
    // Escapes a line of prose. Hyphens in options and in command names
    // become "\-" so that a copied command still works.
    static std::string text(std::string_view prose);

    // A term or a command line: each word in bold (commands, options) or
    // italics (placeholders in capitals), brackets and bars in roman.
    static std::string command(std::string_view words);

    // The blocks of one help text; usage lines come out as synopsis lines.
    static std::string blocks(const std::vector<HelpBlock>& blocks);
};

}  // namespace zentrova::manpage
