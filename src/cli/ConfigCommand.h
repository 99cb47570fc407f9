#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

namespace zentrova {

struct FILEDATA;

int runConfigCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The record of a file as JSON text (one line, no trailing newline); valid
// tells whether the file had exactly 500 bytes.
std::string configShowJson(std::uintmax_t fileSize, bool valid, const FILEDATA& record);

}  // namespace zentrova
