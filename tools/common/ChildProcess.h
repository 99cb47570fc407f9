#pragma once

#include <string>
#include <vector>

namespace zentrova::tools {

struct ProcessResult {
    bool started = false;
    int exitStatus = -1;  // -1 when the process did not end normally
    std::string output;
    std::string errorOutput;

    bool succeeded() const { return started && exitStatus == 0; }
};

// Runs a program found on PATH with the arguments as given (no shell), with
// no input, and collects what it writes to standard output and, the end of
// it, to standard error.
class ChildProcess {
public:
    static ProcessResult run(const std::vector<std::string>& arguments);
};

}  // namespace zentrova::tools
