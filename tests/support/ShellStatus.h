#pragma once

#include <cstdlib>
#include <string>

#include <sys/wait.h>

namespace zentrova::test {

// Runs a command line through the shell; its exit status, or -1 when it did not end normally.
inline int shellStatus(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zentrova::test
