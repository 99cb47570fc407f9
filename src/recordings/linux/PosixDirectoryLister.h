#pragma once

#include "recordings/DirectoryLister.h"

namespace zentrova {

// Lists with readdir and the entry types it gives, so that only links need
// a stat call.
class PosixDirectoryLister : public DirectoryLister {
public:
    bool list(const std::string& directory, std::vector<DirectoryEntry>& entries, std::string& failure) override;
    std::optional<std::string> realPath(const std::string& path) override;
};

}  // namespace zentrova
