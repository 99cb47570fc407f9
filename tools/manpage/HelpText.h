#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zentrova::manpage {

// One "TERM   description" line of a help text, its continuation lines
// joined. Depth counts how far it is indented under the block's first entry.
struct HelpEntry {
    std::string term;
    std::string description;
    int depth = 0;

    bool operator==(const HelpEntry&) const = default;
};

struct HelpBlock {
    enum class Kind { Usage, Text, Entries, Example };
    Kind kind = Kind::Text;
    std::vector<std::string> lines;  // Usage: one command line each; Text: joined prose; Example: as written
    std::vector<HelpEntry> entries;
};

// Reads the layout that zentrova-cli's --help texts follow: "usage:" lines,
// prose, and indented entries whose description starts after two or more
// spaces and continues on lines indented to that column. Any other indented
// line is kept as an example, so that no text is ever lost.
class HelpText {
public:
    static std::vector<HelpBlock> parse(std::string_view text);
};

}  // namespace zentrova::manpage
