#pragma once

#include "card/CommandRunner.h"

#include <deque>
#include <string>
#include <vector>

namespace zentrova::test {

// Runs nothing: keeps each argument vector and answers with the outcomes it
// was given, in order (success once they run out).
class RecordingCommandRunner : public CommandRunner {
public:
    struct Call {
        std::vector<std::string> arguments;
        bool withAdministratorPrivileges;
    };

    std::vector<Call> calls;
    std::deque<CommandOutcome> outcomes;

    static CommandOutcome failure(int status, std::string errorOutput) {
        CommandOutcome outcome;
        outcome.code = status;
        outcome.errorOutput = std::move(errorOutput);
        return outcome;
    }

protected:
    CommandOutcome runArguments(const std::vector<std::string>& arguments, bool withAdministratorPrivileges) override {
        calls.push_back({arguments, withAdministratorPrivileges});
        if (outcomes.empty()) return {};
        CommandOutcome outcome = outcomes.front();
        outcomes.pop_front();
        return outcome;
    }
};

}  // namespace zentrova::test
