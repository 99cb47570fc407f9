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

// A folder a scan could not enter, and why.
struct UnreadableDirectory {
    std::string path;
    std::string reason;
    bool operator==(const UnreadableDirectory&) const = default;
};

// Lists directories for the recordings walk. The platform's implementation
// is faster than the standard library's on large cards.
class DirectoryLister {
public:
    virtual ~DirectoryLister() = default;
    // Fills entries (without "." and ".."); false when the directory cannot
    // be read, with the reason in failure. Entries given in are replaced;
    // their buffers may be reused.
    virtual bool list(const std::string& directory, std::vector<DirectoryEntry>& entries, std::string& failure) = 0;
    // The real path of a directory with every link resolved, or none.
    virtual std::optional<std::string> realPath(const std::string& path) = 0;
};

}  // namespace zentrova
