#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zentrova {

// Exit statuses of the check beyond the common ones: warnings but no
// problem give kExitFailure (1); a problem gives this.
constexpr int kExitCheckProblems = 3;

int runCheckCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace zentrova
