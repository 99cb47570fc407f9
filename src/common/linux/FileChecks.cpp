#include "common/linux/FileChecks.h"

#include <cerrno>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova {
namespace {

std::string errorText(int error) { return std::generic_category().message(error); }

std::string kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

std::optional<std::string> notRegularReason(mode_t mode) {
    if (S_ISREG(mode)) return std::nullopt;
    if (S_ISDIR(mode)) return "is a directory";
    return "not a regular file (" + kindOf(mode) + ")";
}

}  // namespace

std::optional<FileIdentity> fileIdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::optional<std::string> unreadableFileReason(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return errorText(errno);
    if (auto reason = notRegularReason(info.st_mode)) return reason;
    // The path may have been replaced since the stat: opening without
    // waiting and checking what was opened keeps a FIFO from blocking here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errorText(errno);
    std::optional<std::string> reason;
    if (::fstat(fd, &info) != 0) {
        reason = errorText(errno);
    } else {
        reason = notRegularReason(info.st_mode);
    }
    ::close(fd);
    return reason;
}

std::optional<std::string> unreadableDirectoryReason(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return errorText(errno);
    if (!S_ISDIR(info.st_mode)) return "not a directory";
    DIR* directory = ::opendir(path.c_str());
    if (!directory) return errorText(errno);
    ::closedir(directory);
    return std::nullopt;
}

}  // namespace zentrova
