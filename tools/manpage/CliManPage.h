#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zentrova::manpage {

struct CommandHelp {
    std::string name;
    std::string help;
};

struct PageFacts {
    std::string version;  // the package's, shown in the page's footer
    std::string date;     // YYYY-MM-DD
    std::vector<std::string> seeAlso;  // "zentrova(1)"
};

struct RenderedPage {
    std::string page;
    std::string error;  // empty when the page was written
};

// The man page of a command-line program with subcommands, made from its
// own --help texts: the main text gives the name, synopsis and description,
// each subcommand's text a subsection of COMMANDS.
class CliManPage {
public:
    // The names the main help lists under its "commands:" line.
    static std::vector<std::string> commandNames(std::string_view mainHelp);

    static RenderedPage render(std::string_view mainHelp, const std::vector<CommandHelp>& commands,
                               const PageFacts& facts);
};

}  // namespace zentrova::manpage
