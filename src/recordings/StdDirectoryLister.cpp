#include "recordings/StdDirectoryLister.h"

#include <filesystem>
#include <system_error>

namespace zentrova {
namespace fs = std::filesystem;

bool StdDirectoryLister::list(const std::string& directory, std::vector<DirectoryEntry>& entries,
                              std::string& failure) {
    entries.clear();
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec) {
        failure = ec.message();
        return false;
    }
    for (fs::directory_iterator end; it != end; it.increment(ec)) {
        std::error_code typeError;
        DirectoryEntry entry;
        entry.name = it->path().filename().string();
        entry.isSymlink = it->is_symlink(typeError);
        entry.isDirectory = it->is_directory(typeError);
        entries.push_back(std::move(entry));
    }
    return true;
}

std::optional<std::string> StdDirectoryLister::realPath(const std::string& path) {
    std::error_code ec;
    fs::path real = fs::canonical(path, ec);
    if (ec) return std::nullopt;
    return real.string();
}

}  // namespace zentrova
