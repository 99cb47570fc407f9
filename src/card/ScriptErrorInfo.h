#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

constexpr std::string_view kScriptErrorNumberKey = "NSAppleScriptErrorNumber";
constexpr std::string_view kScriptErrorMessageKey = "NSAppleScriptErrorMessage";

// The error information of one command run; empty when the command succeeded.
struct ScriptErrorInfo {
    // kScriptErrorNumberKey: the exit status of a command that ran and failed.
    std::optional<long long> errorNumber;
    // kScriptErrorMessageKey: readable text, the command's error output.
    std::optional<std::string> errorMessage;

    bool empty() const { return !errorNumber && !errorMessage; }
    // One line in the form of a dictionary: "{}" when empty, else
    // {NSAppleScriptErrorMessage = "..."; NSAppleScriptErrorNumber = 1;}.
    std::string description() const;
};

// How a command ended, as the platform saw it.
struct CommandOutcome {
    enum class Kind { Exited, Signalled, NotStarted };
    Kind kind = Kind::Exited;
    // Exit status, signal number, or the system's error number when not started.
    int code = 0;
    std::string errorOutput;
    // For NotStarted: the program and the system's reason.
    std::string program;
    std::string reason;
};

// The error information for an outcome. With administrator privileges the
// elevation tool's own statuses (126 dismissed, 127 not authorised) give a
// readable text ahead of the error output.
ScriptErrorInfo scriptErrorFromOutcome(const CommandOutcome& outcome, bool withAdministratorPrivileges);

}  // namespace zentrova
