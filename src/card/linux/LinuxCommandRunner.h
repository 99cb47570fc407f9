#pragma once

#include "card/CommandRunner.h"

#include <string>
#include <vector>

namespace zentrova {

// Runs programs with posix_spawn and an argument vector; no shell ever sees
// the arguments. Administrator privileges come from an elevation tool that
// asks the user (pkexec), which is skipped when the process is root already.
class LinuxCommandRunner : public CommandRunner {
public:
    struct Options {
        std::vector<std::string> privilegePrefix{"pkexec"};
        bool skipPrefixWhenRoot = true;
    };

    LinuxCommandRunner();
    explicit LinuxCommandRunner(Options options);

    // The argument vector that a run would start, prefix included.
    std::vector<std::string> commandArguments(const std::vector<std::string>& arguments,
                                              bool withAdministratorPrivileges) const;

protected:
    CommandOutcome runArguments(const std::vector<std::string>& arguments,
                                bool withAdministratorPrivileges) override;

private:
    Options m_options;
};

}  // namespace zentrova
