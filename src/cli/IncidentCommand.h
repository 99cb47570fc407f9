#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zentrova {

int runIncidentCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace zentrova
