#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zentrova {

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;  // links followed
    bool isSymlink = false;
};

// Lists directories for the recordings walk. The platform's implementation
// is faster than the standard library's on large cards.
class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // Fills entries (without "." and ".."); false when the directory cannot be read.
    // Entries given in are replaced; their buffers may be reused.
    virtual bool list(const std::string& directory, std::vector<DirectoryEntry>& entries) = 0;
    // The real path of a directory with every link resolved, or none.
    virtual std::optional<std::string> realPath(const std::string& path) = 0;
};

}  // namespace zentrova
