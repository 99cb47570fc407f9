#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// Splits a command line into arguments as a POSIX shell would split words,
// and nothing more: blanks separate, '...' and "..." group, a backslash
// takes the next character literally. No expansion of any kind ($, *, ~,
// ;, |, redirection are plain characters), so no argument can start another
// command. None for an unclosed quotation mark or a line without a program.
std::optional<std::vector<std::string>> splitCommandLine(std::string_view commandLine);

}  // namespace zentrova
