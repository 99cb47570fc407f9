#pragma once

#include "card/ScriptErrorInfo.h"

#include <string>
#include <vector>

namespace zentrova {

// Runs system commands and waits for them to end; there is no time-out.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;

    // Splits the command line into arguments (never through a shell), runs
    // it, with administrator privileges when asked, and logs "ERROR=..." with
    // the result. Empty on success; the command's output is not kept.
    ScriptErrorInfo runShellScript(const std::string& commandLine, bool withAdministratorPrivileges);

protected:
    // Runs the program arguments[0] with the arguments as they stand.
    virtual CommandOutcome runArguments(const std::vector<std::string>& arguments,
                                        bool withAdministratorPrivileges) = 0;
};

}  // namespace zentrova
