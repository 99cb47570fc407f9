#pragma once

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace zentrova {

// Why an output path cannot be taken: an empty name, or the same file as
// one of the inputs (also through a link or a hard link), which writing
// would destroy. None when it can be written to.
std::optional<std::string> outputPathProblem(const std::string& output, std::initializer_list<std::string_view> inputs);

// Writes "zentrova-cli: <command>: cannot write <path>: <reason>" and
// returns the status for a failed write.
int reportWriteFailure(std::ostream& err, std::string_view command, const std::string& path,
                       const std::string& reason);

}  // namespace zentrova
