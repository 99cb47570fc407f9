#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace zentrova {

// One new file being written into a package folder.
class PackageFile {
public:
    virtual ~PackageFile() = default;
    // None when all the bytes were written, else the system's error text.
    [[nodiscard]] virtual std::optional<std::string> write(std::span<const std::uint8_t> bytes) = 0;
    // Flushes the file to the device and closes it; none on success.
    [[nodiscard]] virtual std::optional<std::string> finish() = 0;
};

// The file-system steps of writing a package folder as a whole: a new
// folder is filled, then moved into place in one step.
class PackageFolderWriter {
public:
    virtual ~PackageFolderWriter() = default;
    // Makes a new, empty folder; fails when anything is at path already.
    [[nodiscard]] virtual std::optional<std::string> createFolder(const std::string& path) = 0;
    // A new file (never an existing one); none, with error set, on failure.
    virtual std::unique_ptr<PackageFile> createFile(const std::string& path, std::string& error) = 0;
    // Flushes the folder and gives it its final name in one step, never
    // replacing anything already there; none on success.
    [[nodiscard]] virtual std::optional<std::string> publishFolder(const std::string& from, const std::string& to) = 0;
    // Removes a folder this writer made, with what is in it.
    virtual void removeFolder(const std::string& path) = 0;
};

}  // namespace zentrova
