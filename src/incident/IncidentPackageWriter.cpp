#include "incident/IncidentPackageWriter.h"

#include "common/Sha256.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kFolderAttempts = 20;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

struct IncidentPackageWriter::Run {
    const IncidentPackage& package;
    std::string target;
    std::string folder;  // the hidden one being filled
    const ProgressCallback& progress;
    std::stop_token cancelled;
    std::uint64_t doneBytes = 0;
    std::uint64_t totalBytes = 0;
    std::vector<PackagedFile> written;

    std::string pathOf(const std::string& name) const { return (fs::path(folder) / name).string(); }
    void report(std::string_view file) const {
        if (progress) progress(PackageProgress{doneBytes, totalBytes, file});
    }
};

std::string IncidentPackageWriter::temporaryFolderFor(const std::string& target, unsigned attempt) {
    const fs::path path(target);
    static std::random_device device;
    return (path.parent_path() / ("." + path.filename().string() + ".partial-" + std::to_string(device()) + "-" +
                                  std::to_string(attempt)))
        .string();
}

std::string IncidentPackageWriter::checksumList(std::span<const PackagedFile> files) {
    std::string list;
    for (const PackagedFile& file : files) list += file.sha256 + "  " + file.name + "\n";
    return list;
}

std::optional<std::string> IncidentPackageWriter::writeBytes(Run& run, const std::string& name,
                                                             const std::string& role, std::string_view bytes) {
    std::string error;
    const std::unique_ptr<PackageFile> file = m_folders.createFile(run.pathOf(name), error);
    if (!file) return "cannot create " + name + ": " + error;
    run.report(name);
    Sha256 hash;
    // In blocks, so that a stop request is seen within a large file too.
    for (std::size_t at = 0; at < bytes.size(); at += kCopyBlockSize) {
        if (run.cancelled.stop_requested()) return "cancelled";
        const std::string_view block = bytes.substr(at, kCopyBlockSize);
        if (auto failed = file->write(bytesOf(block))) return "cannot write " + name + ": " + *failed;
        hash.update(block);
        run.doneBytes += block.size();
        run.report(name);
    }
    if (auto failed = file->finish()) return "cannot write " + name + ": " + *failed;
    run.written.push_back({name, role, bytes.size(), Sha256::hex(hash.finish())});
    return std::nullopt;
}

std::optional<std::string> IncidentPackageWriter::copyFile(Run& run, const std::string& name,
                                                           const std::string& role, const std::string& source) {
    std::ifstream in(source, std::ios::binary);
    if (!in) return "cannot open " + source;
    std::string error;
    const std::unique_ptr<PackageFile> file = m_folders.createFile(run.pathOf(name), error);
    if (!file) return "cannot create " + name + ": " + error;
    run.report(name);
    Sha256 hash;
    std::vector<char> block(kCopyBlockSize);
    std::uint64_t copied = 0;
    while (in) {
        if (run.cancelled.stop_requested()) return "cancelled";
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        const std::string_view bytes(block.data(), got);
        if (auto failed = file->write(bytesOf(bytes))) return "cannot write " + name + ": " + *failed;
        hash.update(bytes);
        copied += got;
        run.doneBytes += got;
        run.report(name);
    }
    if (in.bad()) return "cannot read " + source;
    if (auto failed = file->finish()) return "cannot write " + name + ": " + *failed;
    run.written.push_back({name, role, copied, Sha256::hex(hash.finish())});
    return std::nullopt;
}

std::optional<std::string> IncidentPackageWriter::writeEntries(Run& run) {
    for (const IncidentPackage::Entry& entry : run.package.entries()) {
        if (entry.summary) continue;
        auto failed = entry.sourcePath ? copyFile(run, entry.name, entry.role, *entry.sourcePath)
                                       : writeBytes(run, entry.name, entry.role, entry.bytes);
        if (failed) return failed;
    }
    // The summaries name the files above with their checksums.
    const std::vector<PackagedFile> beforeSummaries = run.written;
    for (const IncidentPackage::Entry& entry : run.package.entries()) {
        if (!entry.summary) continue;
        if (auto failed = writeBytes(run, entry.name, entry.role, entry.summary(beforeSummaries))) return failed;
    }
    const std::string list = checksumList(run.written);
    if (auto failed = writeBytes(run, std::string(IncidentPackage::kChecksumsName), "checksums", list)) return failed;
    return std::nullopt;
}

std::optional<std::string> IncidentPackageWriter::createTemporaryFolder(Run& run) {
    std::optional<std::string> failed;
    for (unsigned attempt = 0; attempt < kFolderAttempts; ++attempt) {
        run.folder = temporaryFolderFor(run.target, attempt);
        failed = m_folders.createFolder(run.folder);
        if (!failed) return std::nullopt;
    }
    run.folder.clear();
    return "cannot create a folder beside " + run.target + ": " + failed.value_or("");
}

PackageResult IncidentPackageWriter::write(const IncidentPackage& package, const std::string& target,
                                           const ProgressCallback& progress, std::stop_token cancelled) {
    PackageResult result;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) {
        result.error = target + " is already there";
        return result;
    }
    Run run{package, target, {}, progress, cancelled, 0, 0, {}};
    for (const IncidentPackage::Entry& entry : package.entries()) {
        if (entry.sourcePath) {
            const auto size = fs::file_size(*entry.sourcePath, ec);
            if (!ec) run.totalBytes += size;
        } else if (!entry.summary) {
            run.totalBytes += entry.bytes.size();
        }
    }
    if (auto failed = createTemporaryFolder(run)) {
        result.error = failed;
        return result;
    }
    auto failed = writeEntries(run);
    if (!failed && cancelled.stop_requested()) failed = "cancelled";
    if (!failed) failed = m_folders.publishFolder(run.folder, target);
    if (failed) {
        m_folders.removeFolder(run.folder);
        result.error = failed;
        result.cancelled = cancelled.stop_requested();
        return result;
    }
    result.files = std::move(run.written);
    return result;
}

}  // namespace zentrova
