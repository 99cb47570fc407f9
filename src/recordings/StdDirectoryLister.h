#pragma once

#include "recordings/DirectoryLister.h"

namespace zentrova {

// The portable lister, on std::filesystem.
class StdDirectoryLister : public DirectoryLister {
public:
    bool list(const std::string& directory, std::vector<DirectoryEntry>& entries, std::string& failure) override;
    std::optional<std::string> realPath(const std::string& path) override;
};

}  // namespace zentrova
