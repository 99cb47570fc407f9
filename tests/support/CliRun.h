#pragma once

#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace zentrova::test {

// What one in-process run of a zentrova-cli subcommand gave.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

using CliEntry = int (*)(std::span<const std::string> args, std::ostream& out, std::ostream& err);

inline CliRun runCli(CliEntry command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace zentrova::test
