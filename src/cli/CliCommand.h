#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace zentrova {

// Exit statuses of the command-line tool.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// One subcommand: its arguments exclude the program and subcommand names.
struct CliCommand {
    std::string_view name;
    std::string_view summary;
    int (*run)(std::span<const std::string> args, std::ostream& out, std::ostream& err);
};

std::span<const CliCommand> cliCommands();

// Write "zentrova-cli: <message>" as one line, control characters of names
// in it escaped, and return the status for wrong arguments or for a failure.
int reportUsageError(std::ostream& err, std::string_view message);
int reportFailure(std::ostream& err, std::string_view message);

}  // namespace zentrova
