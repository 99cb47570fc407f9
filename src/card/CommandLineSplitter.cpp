#include "card/CommandLineSplitter.h"

namespace zentrova {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

std::optional<std::vector<std::string>> splitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (isBlank(c)) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\\') {
            if (++i == line.size()) return std::nullopt;
            word.push_back(line[i]);
        } else if (c == '\'' || c == '"') {
            const size_t close = line.find(c, i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            word.append(line.substr(i + 1, close - i - 1));
            i = close;
        } else {
            word.push_back(c);
        }
    }
    if (inWord) words.push_back(std::move(word));
    if (words.empty()) return std::nullopt;
    return words;
}

}  // namespace zentrova
