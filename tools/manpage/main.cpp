// zentrova-manpage: writes the man page of zentrova-cli from the program's
// own --help texts, so the page always says what the program does.

#include "CliManPage.h"

#include "ChildProcess.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using zentrova::manpage::CliManPage;
using zentrova::manpage::CommandHelp;
using zentrova::manpage::PageFacts;
using zentrova::tools::ChildProcess;
using zentrova::tools::ProcessResult;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

std::optional<std::string> outputOf(const std::vector<std::string>& arguments) {
    const ProcessResult run = ChildProcess::run(arguments);
    if (run.succeeded()) return run.output;
    std::string command;
    for (const std::string& argument : arguments) command += (command.empty() ? "" : " ") + argument;
    std::cerr << "zentrova-manpage: " << command << " failed (status " << run.exitStatus << "): " << run.errorOutput
              << '\n';
    return std::nullopt;
}

// "zentrova-cli 0.1.0\n" -> "0.1.0"
std::string lastWord(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.substr(text.rfind(' ') + 1);
}

bool writeWhole(const std::string& path, const std::string& text) {
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    return std::rename(partial.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: zentrova-manpage PROGRAM OUT.1 YYYY-MM-DD [SEE_ALSO(1)...]\n";
        return kExitUsage;
    }
    const std::string program = argv[1];
    const std::string outPath = argv[2];
    PageFacts facts{{}, argv[3], std::vector<std::string>(argv + 4, argv + argc)};

    const auto mainHelp = outputOf({program, "--help"});
    const auto version = outputOf({program, "--version"});
    if (!mainHelp || !version) return kExitFailed;
    facts.version = lastWord(*version);

    const std::vector<std::string> names = CliManPage::commandNames(*mainHelp);
    if (names.empty()) {
        std::cerr << "zentrova-manpage: " << program << " --help lists no commands\n";
        return kExitFailed;
    }
    std::vector<CommandHelp> commands;
    for (const std::string& name : names) {
        const auto help = outputOf({program, name, "--help"});
        if (!help) return kExitFailed;
        commands.push_back({name, *help});
    }

    const auto rendered = CliManPage::render(*mainHelp, commands, facts);
    if (!rendered.error.empty()) {
        std::cerr << "zentrova-manpage: " << rendered.error << '\n';
        return kExitFailed;
    }
    if (!writeWhole(outPath, rendered.page)) {
        std::cerr << "zentrova-manpage: cannot write " << outPath << '\n';
        return kExitFailed;
    }
    return 0;
}
