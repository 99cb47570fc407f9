#include "settings/CarNumberFilter.h"

namespace zentrova {
namespace {

bool isAsciiLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string filteredCarNumber(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (kept.size() == kCarNumberMaximumLength) break;
        if (isAsciiLetterOrDigit(c)) kept.push_back(c);
    }
    return kept;
}

}  // namespace zentrova
