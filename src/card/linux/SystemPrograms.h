#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

// The absolute path of a system program: on PATH, else in /usr/sbin or
// /sbin, which a user's PATH often leaves out.
std::optional<std::string> findSystemProgram(std::string_view name);

}  // namespace zentrova
