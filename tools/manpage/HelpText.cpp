#include "HelpText.h"

#include <algorithm>
#include <map>
#include <optional>

namespace zentrova::manpage {
namespace {

// Longer "terms" are prose that happens to hold a double space.
constexpr std::size_t kLongestTerm = 32;
constexpr std::string_view kUsagePrefix = "usage: ";

struct EntryLine {
    std::string term;
    std::string description;
    std::size_t descriptionColumn;
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view trimRight(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

std::size_t indentOf(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? line.size() : first;
}

std::optional<EntryLine> readEntryLine(std::string_view line, std::size_t indent) {
    const std::size_t gap = line.find("  ", indent);
    if (gap == std::string_view::npos || gap == indent) return std::nullopt;
    const std::size_t description = line.find_first_not_of(' ', gap);
    if (description == std::string_view::npos) return std::nullopt;
    const std::string_view term = line.substr(indent, gap - indent);
    if (term.size() > kLongestTerm) return std::nullopt;
    return EntryLine{std::string(term), std::string(line.substr(description)), description};
}

// A term as long as its column leaves one space before the description:
// "  prepare IN OUT read the record" under "  show FILE      list ...".
std::optional<EntryLine> readAlignedEntryLine(std::string_view line, std::size_t indent, std::size_t column) {
    if (column <= indent + 1 || line.size() <= column || line[column - 1] != ' ' || line[column] == ' ') {
        return std::nullopt;
    }
    return EntryLine{std::string(trimRight(line.substr(indent, column - indent))), std::string(line.substr(column)),
                     column};
}

void appendWords(std::string& text, std::string_view words) {
    if (!text.empty()) text += ' ';
    text += words;
}

class Parser {
public:
    std::vector<HelpBlock> take() { return std::move(m_blocks); }

    void line(std::string_view raw) {
        const std::string_view line = trimRight(raw);
        if (line.empty()) {
            endParagraph();
            return;
        }
        const std::size_t indent = indentOf(line);
        const std::string_view body = line.substr(indent);
        if (indent == 0 && body.starts_with(kUsagePrefix)) {
            startBlock(HelpBlock::Kind::Usage).lines.emplace_back(body.substr(kUsagePrefix.size()));
        } else if (indent > 0 && isOpen(HelpBlock::Kind::Usage)) {
            m_blocks.back().lines.emplace_back(body);
        } else if (indent == 0) {
            prose(body);
        } else if (m_descriptionColumn && indent >= *m_descriptionColumn) {
            appendWords(m_blocks.back().entries.back().description, body);
        } else if (auto entry = readEntryLine(line, indent)) {
            addEntry(std::move(*entry), indent);
        } else if (auto aligned = alignedEntry(line, indent)) {
            addEntry(std::move(*aligned), indent);
        } else {
            example(line);
        }
    }

private:
    bool isOpen(HelpBlock::Kind kind) const { return m_inParagraph && !m_blocks.empty() && m_blocks.back().kind == kind; }

    HelpBlock& startBlock(HelpBlock::Kind kind) {
        m_blocks.push_back(HelpBlock{kind, {}, {}});
        m_inParagraph = true;
        m_descriptionColumn.reset();
        m_entryIndents.clear();
        m_entryColumns.clear();
        return m_blocks.back();
    }

    void endParagraph() {
        m_inParagraph = false;
        m_descriptionColumn.reset();
        m_entryIndents.clear();
        m_entryColumns.clear();
    }

    void prose(std::string_view body) {
        if (!isOpen(HelpBlock::Kind::Text)) startBlock(HelpBlock::Kind::Text).lines.emplace_back();
        appendWords(m_blocks.back().lines.back(), body);
    }

    void addEntry(EntryLine entry, std::size_t indent) {
        if (!isOpen(HelpBlock::Kind::Entries)) startBlock(HelpBlock::Kind::Entries);
        while (!m_entryIndents.empty() && m_entryIndents.back() > indent) m_entryIndents.pop_back();
        if (m_entryIndents.empty() || m_entryIndents.back() < indent) m_entryIndents.push_back(indent);
        const int depth = static_cast<int>(m_entryIndents.size()) - 1;
        m_blocks.back().entries.push_back({std::move(entry.term), std::move(entry.description), depth});
        m_descriptionColumn = entry.descriptionColumn;
        m_entryColumns[indent] = entry.descriptionColumn;
    }

    std::optional<EntryLine> alignedEntry(std::string_view line, std::size_t indent) const {
        if (!m_descriptionColumn || std::find(m_entryIndents.begin(), m_entryIndents.end(), indent) == m_entryIndents.end()) {
            return std::nullopt;
        }
        return readAlignedEntryLine(line, indent, m_entryColumns.at(indent));
    }

    void example(std::string_view line) {
        if (!isOpen(HelpBlock::Kind::Example)) startBlock(HelpBlock::Kind::Example);
        m_blocks.back().lines.emplace_back(line);
    }

    std::vector<HelpBlock> m_blocks;
    bool m_inParagraph = false;
    std::optional<std::size_t> m_descriptionColumn;
    std::vector<std::size_t> m_entryIndents;
    std::map<std::size_t, std::size_t> m_entryColumns;  // entry indent -> its description column
};

}  // namespace

std::vector<HelpBlock> HelpText::parse(std::string_view text) {
    Parser parser;
    for (std::string_view line : splitLines(text)) parser.line(line);
    return parser.take();
}

}  // namespace zentrova::manpage
