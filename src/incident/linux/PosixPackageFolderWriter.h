#pragma once

#include "incident/PackageFolderWriter.h"

namespace zentrova {

// Folders and files with mkdir, open(O_EXCL), fsync and a rename that never
// replaces (renameat2 RENAME_NOREPLACE, where the file system has it).
class PosixPackageFolderWriter : public PackageFolderWriter {
public:
    [[nodiscard]] std::optional<std::string> createFolder(const std::string& path) override;
    std::unique_ptr<PackageFile> createFile(const std::string& path, std::string& error) override;
    [[nodiscard]] std::optional<std::string> publishFolder(const std::string& from, const std::string& to) override;
    void removeFolder(const std::string& path) override;
};

}  // namespace zentrova
