#include "incident/linux/PosixPackageFolderWriter.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrova {
namespace {

std::string errorText(int error) { return std::generic_category().message(error); }

std::string parentOf(const std::string& path) {
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

// 0, or the errno of the failure.
int flushFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    // Some file systems cannot flush a folder; the names are in place either way.
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

class PosixPackageFile : public PackageFile {
public:
    explicit PosixPackageFile(int fd) : m_fd(fd) {}
    ~PosixPackageFile() override {
        if (m_fd >= 0) ::close(m_fd);
    }
    PosixPackageFile(const PosixPackageFile&) = delete;
    PosixPackageFile& operator=(const PosixPackageFile&) = delete;

    std::optional<std::string> write(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) continue;
                return errorText(errno);
            }
            // No progress at all: the device is full.
            if (written == 0) return errorText(ENOSPC);
            bytes = bytes.subspan(static_cast<std::size_t>(written));
        }
        return std::nullopt;
    }

    std::optional<std::string> finish() override {
        int error = ::fsync(m_fd) == 0 ? 0 : errno;
        if (::close(m_fd) != 0 && error == 0) error = errno;
        m_fd = -1;
        return error == 0 ? std::nullopt : std::optional<std::string>(errorText(error));
    }

private:
    int m_fd;
};

}  // namespace

std::optional<std::string> PosixPackageFolderWriter::createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0) return errorText(errno);
    return std::nullopt;
}

std::unique_ptr<PackageFile> PosixPackageFolderWriter::createFile(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = errorText(errno);
        return nullptr;
    }
    return std::make_unique<PosixPackageFile>(fd);
}

std::optional<std::string> PosixPackageFolderWriter::publishFolder(const std::string& from, const std::string& to) {
    if (const int error = flushFolder(from)) return errorText(error);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS) return errorText(errno);
        // A file system without the flag: rename would replace an empty
        // folder that appeared in the meantime, so look first.
        struct stat existing {};
        if (::lstat(to.c_str(), &existing) == 0) return errorText(EEXIST);
        if (::rename(from.c_str(), to.c_str()) != 0) return errorText(errno);
    }
    (void)flushFolder(parentOf(to));
    return std::nullopt;
}

void PosixPackageFolderWriter::removeFolder(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

}  // namespace zentrova
