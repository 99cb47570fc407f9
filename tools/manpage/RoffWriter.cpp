#include "RoffWriter.h"

#include <algorithm>

namespace zentrova::manpage {
namespace {

constexpr std::string_view kRoman = "[]|{},=";

bool isPlaceholder(std::string_view word) { return !word.empty() && word.front() >= 'A' && word.front() <= 'Z'; }

bool wantsMinusSigns(std::string_view word) {
    const std::size_t start = word.find_first_not_of("([\"'");
    if (start == std::string_view::npos) return false;
    word.remove_prefix(start);
    return word.starts_with('-') || word.starts_with("zentrova-");
}

std::string escape(std::string_view word, bool code) {
    const bool minus = code || wantsMinusSigns(word);
    std::string out;
    for (const char c : word) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && minus) {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

// A request or a macro call starts with "." or "'" at the start of a line.
std::string guardLineStart(std::string line) {
    if (!line.empty() && (line.front() == '.' || line.front() == '\'')) line.insert(0, "\\&");
    return line;
}

std::string formatPiece(std::string_view piece) {
    if (piece.empty()) return {};
    return (isPlaceholder(piece) ? "\\fI" : "\\fB") + escape(piece, true) + "\\fR";
}

std::string formatCommandWord(std::string_view word) {
    std::string out;
    std::size_t start = 0;
    while (start < word.size()) {
        const std::size_t stop = word.find_first_of(kRoman, start);
        out += formatPiece(word.substr(start, stop - start));
        if (stop == std::string_view::npos) break;
        out += word[stop];
        start = stop + 1;
    }
    return out;
}

std::string escapeProse(std::string_view word) { return escape(word, false); }

// Formats each space-separated word; the spaces stay as they are.
template <typename Function>
std::string eachWord(std::string_view words, Function&& format) {
    std::string out;
    std::size_t start = 0;
    while (start < words.size()) {
        if (words[start] == ' ') {
            out += ' ';
            ++start;
            continue;
        }
        std::size_t stop = words.find(' ', start);
        if (stop == std::string_view::npos) stop = words.size();
        out += format(words.substr(start, stop - start));
        start = stop;
    }
    return out;
}

void writeUsage(std::string& out, const HelpBlock& block) {
    out += ".PP\n.nf\n";
    for (const std::string& line : block.lines) out += RoffWriter::command(line) + "\n";
    out += ".fi\n";
}

void writeText(std::string& out, const HelpBlock& block) {
    for (const std::string& line : block.lines) out += ".PP\n" + RoffWriter::text(line) + "\n";
}

// Terms up to this many characters share the line with their description.
constexpr std::size_t kWidestTermColumn = 16;

// The tag width of each depth: the widest term there, within bounds.
std::vector<std::size_t> termColumns(const HelpBlock& block) {
    std::vector<std::size_t> widest;
    for (const HelpEntry& entry : block.entries) {
        const auto depth = static_cast<std::size_t>(entry.depth);
        if (widest.size() <= depth) widest.resize(depth + 1, 0);
        widest[depth] = std::max(widest[depth], entry.term.size());
    }
    for (std::size_t& column : widest) column = std::min(column + 2, kWidestTermColumn);
    return widest;
}

// A deeper entry is indented under the description of the one above it
// (".RS" moves the margin by the tag width in force).
void writeEntries(std::string& out, const HelpBlock& block) {
    const std::vector<std::size_t> columns = termColumns(block);
    int depth = 0;
    for (const HelpEntry& entry : block.entries) {
        for (; depth < entry.depth; ++depth) out += ".RS\n";
        for (; depth > entry.depth; --depth) out += ".RE\n";
        out += ".TP " + std::to_string(columns[static_cast<std::size_t>(depth)]) + "n\n" +
               RoffWriter::command(entry.term) + "\n" + RoffWriter::text(entry.description) + "\n";
    }
    for (; depth > 0; --depth) out += ".RE\n";
}

void writeExample(std::string& out, const HelpBlock& block) {
    out += ".PP\n.RS\n.nf\n";
    for (const std::string& line : block.lines) out += guardLineStart(eachWord(line, escapeProse)) + "\n";
    out += ".fi\n.RE\n";
}

}  // namespace

std::string RoffWriter::text(std::string_view prose) { return guardLineStart(eachWord(prose, escapeProse)); }

std::string RoffWriter::command(std::string_view words) { return eachWord(words, formatCommandWord); }

std::string RoffWriter::blocks(const std::vector<HelpBlock>& blocks) {
    std::string out;
    for (const HelpBlock& block : blocks) {
        switch (block.kind) {
            case HelpBlock::Kind::Usage: writeUsage(out, block); break;
            case HelpBlock::Kind::Text: writeText(out, block); break;
            case HelpBlock::Kind::Entries: writeEntries(out, block); break;
            case HelpBlock::Kind::Example: writeExample(out, block); break;
        }
    }
    return out;
}

}  // namespace zentrova::manpage
