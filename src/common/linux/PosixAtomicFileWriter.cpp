#include "common/linux/PosixAtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova {
namespace {

std::string errorText(int error) { return std::generic_category().message(error); }

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Opens a new file in the target's directory under a name no other writer
// uses. The name is short, so that a target whose name is near the file
// system's limit can still be written.
int createTemporaryIn(const std::string& directory, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = directory + "/.zentrova-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// As many links in a row as the system itself follows.
constexpr int kMostLinks = 40;

std::optional<std::string> linkText(const std::string& path, std::size_t size) {
    std::string text(size + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), text.data(), text.size());
    if (length < 0) return std::nullopt;
    // Changed since its size was taken: read again with room to spare.
    if (static_cast<std::size_t>(length) == text.size()) return linkText(path, 2 * text.size());
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The file a write to path lands in: links are followed to the file they
// name, as editors do, so the link stays and its target gets the content.
// A link to nothing names the file to create. Sets found when a file is there.
std::optional<std::string> writeTarget(const std::string& path, struct stat& info, bool& found, int& error) {
    std::string target = path;
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        found = ::lstat(target.c_str(), &info) == 0;
        if (!found) {
            if (errno == ENOENT) return target;
            error = errno;
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode)) return target;
        std::optional<std::string> link = linkText(target, static_cast<std::size_t>(info.st_size));
        if (!link) {
            error = errno;
            return std::nullopt;
        }
        target = link->starts_with('/') ? *link : directoryOf(target) + "/" + *link;
    }
    error = ELOOP;
    return std::nullopt;
}

// 0, or the errno of the failure; a write that stops short counts as a full device.
int writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

// The rename itself is durable only once the directory is flushed. Some file
// systems cannot flush a directory; the new file is in place either way.
void flushDirectory(const std::string& directory) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

}  // namespace

std::optional<std::string> PosixAtomicFileWriter::replaceFile(const std::string& path,
                                                              std::span<const std::uint8_t> bytes) {
    if (path.empty()) return errorText(ENOENT);
    struct stat old {};
    bool hasOld = false;
    int error = 0;
    const std::optional<std::string> target = writeTarget(path, old, hasOld, error);
    if (!target) return errorText(error);
    // Renaming over a device, a FIFO or a folder would replace the node
    // itself (as root even /dev/null): only regular files are replaced.
    if (hasOld && S_ISDIR(old.st_mode)) return errorText(EISDIR);
    if (hasOld && !S_ISREG(old.st_mode)) return "not a regular file";
    // A file that could not be opened for writing must not be replaced either.
    if (hasOld && ::access(target->c_str(), W_OK) != 0) return errorText(errno);

    const std::string directory = directoryOf(*target);
    std::string temporary;
    int fd = createTemporaryIn(directory, temporary);
    if (fd < 0) return errorText(errno);
    // Keep the old file's permissions; file systems without them refuse, which is harmless.
    if (hasOld) (void)::fchmod(fd, old.st_mode & 07777);

    error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target->c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return errorText(error);
    }
    flushDirectory(directory);
    return std::nullopt;
}

}  // namespace zentrova
