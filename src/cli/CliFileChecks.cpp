#include "cli/CliFileChecks.h"

#include "cli/CliCommand.h"
#include "common/linux/FileChecks.h"

namespace zentrova {

std::optional<std::string> outputPathProblem(const std::string& output, std::initializer_list<std::string_view> inputs) {
    if (output.empty()) return "the output file name is empty";
    const std::optional<FileIdentity> written = fileIdentityOf(output);
    if (!written) return std::nullopt;
    for (std::string_view input : inputs) {
        const std::string inputPath(input);
        if (fileIdentityOf(inputPath) == written) {
            return "the output " + output + " is the input file " + inputPath +
                   " itself; writing it would destroy the input";
        }
    }
    return std::nullopt;
}

int reportWriteFailure(std::ostream& err, std::string_view command, const std::string& path,
                       const std::string& reason) {
    return reportFailure(err, std::string(command) + ": cannot write " + path + ": " + reason);
}

}  // namespace zentrova
