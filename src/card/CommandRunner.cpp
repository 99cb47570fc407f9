#include "card/CommandRunner.h"

#include "card/CommandLineSplitter.h"
#include "common/Localization.h"
#include "common/Log.h"

namespace zentrova {
namespace {

ScriptErrorInfo unreadableCommandLine(const std::string& commandLine) {
    ScriptErrorInfo info;
    info.errorNumber = 2;
    info.errorMessage = fillFormat(localized("msg.command_line_invalid_fmt"), {commandLine});
    return info;
}

}  // namespace

ScriptErrorInfo CommandRunner::runShellScript(const std::string& commandLine, bool withAdministratorPrivileges) {
    ScriptErrorInfo info;
    if (auto arguments = splitCommandLine(commandLine)) {
        info = scriptErrorFromOutcome(runArguments(*arguments, withAdministratorPrivileges),
                                      withAdministratorPrivileges);
    } else {
        info = unreadableCommandLine(commandLine);
    }
    logLine(fillFormat("ERROR=%@", {info.description()}));
    return info;
}

}  // namespace zentrova
