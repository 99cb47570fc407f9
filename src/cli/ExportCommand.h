#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zentrova {

int runExportCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace zentrova
