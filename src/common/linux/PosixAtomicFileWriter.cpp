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

// Opens a new file beside the target under a name no other writer uses.
int createTemporaryBeside(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = path + ".partial-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
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
    struct stat old {};
    const bool hasOld = ::stat(path.c_str(), &old) == 0;
    // A file that could not be opened for writing must not be replaced either.
    if (hasOld && ::access(path.c_str(), W_OK) != 0) return errorText(errno);

    std::string temporary;
    int fd = createTemporaryBeside(path, temporary);
    if (fd < 0) return errorText(errno);
    // Keep the old file's permissions; file systems without them refuse, which is harmless.
    if (hasOld) (void)::fchmod(fd, old.st_mode & 07777);

    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return errorText(error);
    }
    flushDirectory(directoryOf(path));
    return std::nullopt;
}

}  // namespace zentrova
