#include "recordings/linux/PosixDirectoryLister.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace zentrova {
namespace {

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Whether name inside the open directory is a directory, links followed.
bool isDirectoryAt(int directoryFd, const char* name) {
    struct stat info;
    return ::fstatat(directoryFd, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool PosixDirectoryLister::list(const std::string& directory, std::vector<DirectoryEntry>& entries,
                                std::string& failure) {
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) {
        failure = std::generic_category().message(errno);
        entries.clear();
        return false;
    }
    const int fd = ::dirfd(dir);
    size_t used = 0;
    while (const dirent* item = ::readdir(dir)) {
        if (isDotOrDotDot(item->d_name)) continue;
        if (used == entries.size()) entries.emplace_back();
        DirectoryEntry& entry = entries[used++];
        entry.name.assign(item->d_name);
        entry.isDirectory = false;
        entry.isSymlink = false;
        switch (item->d_type) {
        case DT_DIR: entry.isDirectory = true; break;
        case DT_REG: break;
        case DT_LNK:
            entry.isSymlink = true;
            entry.isDirectory = isDirectoryAt(fd, item->d_name);
            break;
        default: {
            // File systems that do not fill d_type.
            struct stat info;
            if (::fstatat(fd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
                entry.isSymlink = true;
            }
            entry.isDirectory = isDirectoryAt(fd, item->d_name);
        }
        }
    }
    entries.resize(used);
    ::closedir(dir);
    return true;
}

std::optional<std::string> PosixDirectoryLister::realPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return std::nullopt;
    std::string result(real);
    std::free(real);
    return result;
}

}  // namespace zentrova
