#pragma once

#include <string>
#include <string_view>

namespace zentrova {

// Path helpers with the meaning the recording names need: the extension is
// the text after the last dot of the last component, unless that dot starts
// the component.
struct PathNames {
    static std::string normalizedFilePath(std::string_view path);
    static std::string_view lastComponent(std::string_view path);
    static std::string_view withoutExtension(std::string_view component);
    static std::string_view extension(std::string_view component);
};

}  // namespace zentrova
