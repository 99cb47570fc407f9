#include "cli/CliCommand.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void printHelp(std::ostream& out) {
    out << "usage: zentrova-cli COMMAND [ARGS...]\n\n"
           "Works with the files of the dash camera's SD card.\n\ncommands:\n";
    for (const zentrova::CliCommand& command : zentrova::cliCommands()) {
        out << "  " << command.name;
        for (size_t i = command.name.size(); i < 14; ++i) out << ' ';
        out << command.summary << '\n';
    }
    out << "\nzentrova-cli COMMAND --help describes one command.\n"
           "  --version     print the version\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printHelp(std::cerr);
        return zentrova::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(std::cout);
        return zentrova::kExitOk;
    }
    if (args[0] == "--version") {
        std::cout << "zentrova-cli " << ZENTROVA_VERSION << '\n';
        return zentrova::kExitOk;
    }
    for (const zentrova::CliCommand& command : zentrova::cliCommands()) {
        if (command.name == args[0]) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            return command.run(rest, std::cout, std::cerr);
        }
    }
    return zentrova::reportUsageError(std::cerr, "unknown command " + args[0] + " (see zentrova-cli --help)");
}
