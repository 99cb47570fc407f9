#include "recordings/MediaItemSide.h"

#include <string>

namespace zentrova {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The path part of a URL, percent-decoded; a plain path is returned as given.
std::string urlPath(std::string_view location) {
    size_t scheme = location.find("://");
    if (scheme == std::string_view::npos) return std::string(location);
    std::string_view rest = location.substr(scheme + 3);
    size_t slash = rest.find('/');
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    size_t end = rest.find_first_of("?#");
    if (end != std::string_view::npos) rest = rest.substr(0, end);
    std::string out;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && hexDigit(rest[i + 1]) >= 0 && hexDigit(rest[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(rest[i + 1]) * 16 + hexDigit(rest[i + 2])));
            i += 2;
        } else {
            out.push_back(rest[i]);
        }
    }
    return out;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    text = text.substr(text.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i) {
        char a = text[i];
        char b = ending[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

}  // namespace

ORVMediaDirection mediaItemDirection(std::string_view pathOrUrl) {
    if (pathOrUrl.empty()) return ORVMediaDirectionUnknown;
    std::string path = urlPath(pathOrUrl);
    if (path.size() < 6) return ORVMediaDirectionUnknown;
    if (endsWithIgnoringCase(path, "_R.MP4")) return ORVMediaDirectionRear;
    if (endsWithIgnoringCase(path, "_F.MP4")) return ORVMediaDirectionFront;
    return ORVMediaDirectionUnknown;
}

}  // namespace zentrova
