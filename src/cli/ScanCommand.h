#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zentrova {

class ORVMediaListSnapshot;

int runScanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The scan result as JSON text (one line, no trailing newline).
std::string scanResultJson(const std::string& directory, const ORVMediaListSnapshot& list);

}  // namespace zentrova
