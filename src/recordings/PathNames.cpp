#include "recordings/PathNames.h"

#include <vector>

namespace zentrova {

namespace {

// True when the path has no empty, "." or ".." component and no trailing
// slash, so normalising would give it back unchanged.
bool isAlreadyNormal(std::string_view path) {
    if (path.empty() || path.back() == '/') return path == "/";
    size_t start = path.front() == '/' ? 1 : 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

std::string PathNames::normalizedFilePath(std::string_view path) {
    if (path.empty()) return std::string();
    if (isAlreadyNormal(path)) return std::string(path);
    const bool absolute = path.front() == '/';
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == ".") {
            // nothing: repeated slashes and "." add no component
        } else if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else if (part == ".." && absolute) {
            // above the root stays at the root
        } else {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    if (absolute) out.push_back('/');
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out.push_back('/');
        out.append(parts[i]);
    }
    if (out.empty()) out.push_back('.');
    return out;
}

std::string_view PathNames::lastComponent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || path.size() == 1) return path;
    return path.substr(slash + 1);
}

std::string_view PathNames::withoutExtension(std::string_view component) {
    size_t dot = component.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return component;
    return component.substr(0, dot);
}

std::string_view PathNames::extension(std::string_view component) {
    size_t dot = component.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::string_view();
    return component.substr(dot + 1);
}

}  // namespace zentrova
