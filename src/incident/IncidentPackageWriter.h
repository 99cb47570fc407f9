#pragma once

#include "incident/IncidentPackage.h"
#include "incident/PackageFolderWriter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

struct PackageProgress {
    std::uint64_t doneBytes = 0;
    std::uint64_t totalBytes = 0;  // of the copies and files in memory; the summaries are small
    std::string_view file;         // the file being written, valid during the call
};

struct PackageResult {
    std::optional<std::string> error;  // none when the package is in place
    bool cancelled = false;            // the error is a stop request
    std::vector<PackagedFile> files;   // what was written, SHA256SUMS last
};

// Writes a package as a new folder that appears whole or not at all: every
// file goes into a hidden folder beside the target, each flushed to the
// device, SHA256SUMS last, then the folder takes the target's name in one
// step. On a failure or a stop request the hidden folder is removed and
// nothing is at the target. Meant for a worker thread; progress is called on it.
class IncidentPackageWriter {
public:
    using ProgressCallback = std::function<void(const PackageProgress&)>;
    static constexpr std::size_t kCopyBlockSize = 1 << 20;

    explicit IncidentPackageWriter(PackageFolderWriter& folders) : m_folders(folders) {}

    PackageResult write(const IncidentPackage& package, const std::string& target,
                        const ProgressCallback& progress = {}, std::stop_token cancelled = {});

    // The lines of SHA256SUMS as sha256sum writes them: digest, two blanks, name.
    static std::string checksumList(std::span<const PackagedFile> files);
    // The hidden folder a package for target is built in.
    static std::string temporaryFolderFor(const std::string& target, unsigned attempt);

private:
    struct Run;
    std::optional<std::string> writeEntries(Run& run);
    std::optional<std::string> writeBytes(Run& run, const std::string& name, const std::string& role,
                                          std::string_view bytes);
    std::optional<std::string> copyFile(Run& run, const std::string& name, const std::string& role,
                                        const std::string& source);
    std::optional<std::string> createTemporaryFolder(Run& run);

    PackageFolderWriter& m_folders;
};

}  // namespace zentrova
