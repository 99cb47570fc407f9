#include "CliManPage.h"

#include "HelpText.h"
#include "RoffWriter.h"

#include <algorithm>
#include <cctype>

namespace zentrova::manpage {
namespace {

constexpr std::string_view kCommandsHeading = "commands:";

bool endsWith(const std::string& text, std::string_view end) { return std::string_view(text).ends_with(end); }

const HelpBlock* firstOfKind(const std::vector<HelpBlock>& blocks, HelpBlock::Kind kind) {
    const auto found = std::find_if(blocks.begin(), blocks.end(), [kind](const HelpBlock& b) { return b.kind == kind; });
    return found == blocks.end() ? nullptr : &*found;
}

std::string programName(const HelpBlock& usage) {
    const std::string& line = usage.lines.front();
    return line.substr(0, line.find(' '));
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// "Works with the files." -> "works with the files", as NAME lines read.
std::string nameLine(const HelpBlock* text) {
    if (!text || text->lines.empty()) return {};
    std::string sentence = text->lines.front().substr(0, text->lines.front().find(". "));
    if (endsWith(sentence, ".")) sentence.pop_back();
    if (!sentence.empty()) sentence.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(sentence.front())));
    return sentence;
}

std::vector<HelpBlock> withoutUsage(std::vector<HelpBlock> blocks) {
    std::erase_if(blocks, [](const HelpBlock& b) { return b.kind == HelpBlock::Kind::Usage; });
    return blocks;
}

std::string seeAlsoLine(const std::vector<std::string>& pages) {
    std::string line;
    for (const std::string& page : pages) {
        const std::size_t open = page.find('(');
        if (!line.empty()) line += ",\n";
        line += "\\fB" + RoffWriter::text(page.substr(0, open)) + "\\fR" + page.substr(std::min(open, page.size()));
    }
    return line;
}

std::string heading(const std::string& program, const PageFacts& facts) {
    return ".TH " + RoffWriter::text(upper(program)) + " 1 \"" + facts.date + "\" \"zentrova " + facts.version +
           "\" \"User Commands\"\n"
           // Hyphenation would break options and field names across lines.
           ".nh\n";
}

}  // namespace

std::vector<std::string> CliManPage::commandNames(std::string_view mainHelp) {
    const std::vector<HelpBlock> blocks = HelpText::parse(mainHelp);
    for (std::size_t i = 0; i + 1 < blocks.size(); ++i) {
        const HelpBlock& block = blocks[i];
        if (block.kind != HelpBlock::Kind::Text || !endsWith(block.lines.back(), kCommandsHeading)) continue;
        if (blocks[i + 1].kind != HelpBlock::Kind::Entries) return {};
        std::vector<std::string> names;
        for (const HelpEntry& entry : blocks[i + 1].entries) names.push_back(entry.term);
        return names;
    }
    return {};
}

RenderedPage CliManPage::render(std::string_view mainHelp, const std::vector<CommandHelp>& commands,
                                const PageFacts& facts) {
    const std::vector<HelpBlock> main = HelpText::parse(mainHelp);
    const HelpBlock* usage = firstOfKind(main, HelpBlock::Kind::Usage);
    if (!usage) return {{}, "the main help has no usage line"};
    const std::string program = programName(*usage);

    std::string page = heading(program, facts);
    page += ".SH NAME\n" + RoffWriter::text(program) + " \\- " + RoffWriter::text(nameLine(firstOfKind(main, HelpBlock::Kind::Text))) + "\n";
    page += ".SH SYNOPSIS\n" + RoffWriter::blocks({*usage});
    page += ".SH DESCRIPTION\n" + RoffWriter::blocks(withoutUsage(main));
    page += ".SH COMMANDS\n";
    for (const CommandHelp& command : commands) {
        const std::vector<HelpBlock> blocks = HelpText::parse(command.help);
        if (!firstOfKind(blocks, HelpBlock::Kind::Usage)) return {{}, "the help of " + command.name + " has no usage line"};
        page += ".SS " + RoffWriter::text(command.name) + "\n" + RoffWriter::blocks(blocks);
    }
    if (!facts.seeAlso.empty()) page += ".SH SEE ALSO\n" + seeAlsoLine(facts.seeAlso) + "\n";
    return {page, {}};
}

}  // namespace zentrova::manpage
