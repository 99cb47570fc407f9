#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

// Which file a path names: two paths name the same file, through links or
// hard links alike, when their identities are equal.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

// The identity of what path names, links followed; none when there is nothing.
std::optional<FileIdentity> fileIdentityOf(const std::string& path);

// None when path names a regular file that can be opened for reading; else
// the reason, in the system's words where it has them. Never waits: a FIFO
// or a device is refused without being opened.
std::optional<std::string> unreadableFileReason(const std::string& path);

// None when path names a directory that can be listed; else the reason.
std::optional<std::string> unreadableDirectoryReason(const std::string& path);

}  // namespace zentrova
