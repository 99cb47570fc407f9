#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// One line of the kernel's mount table (mountinfo format).
struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    // The folder of the file system that is mounted; "/" for a whole one.
    std::string root;
    std::string mountPoint;
    std::string fileSystemType;
    std::string source;
};

// The lines of a mountinfo text in their order, with the octal escapes of
// blanks and backslashes ("\040") decoded. Malformed lines are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// Decodes "\ooo" octal escapes as the kernel writes them in mount tables.
std::string decodeOctalEscapes(std::string_view text);

}  // namespace zentrova
