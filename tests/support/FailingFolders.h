#pragma once

#include "incident/linux/PosixPackageFolderWriter.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace zentrova::test {

// The real folder writer, made to fail at one step, as a full or pulled card does.
class FailingFolders : public PackageFolderWriter {
public:
    enum class Step { None, CreateFolder, CreateFile, Write, Finish, Publish };
    Step failAt = Step::None;
    std::size_t fileIndex = 0;     // which file (0 is the first) fails to create, write or finish
    std::size_t writtenBefore = 0; // bytes that reach the file before a write fails

    std::optional<std::string> createFolder(const std::string& path) override {
        if (failAt == Step::CreateFolder) return "Permission denied";
        return m_real.createFolder(path);
    }
    std::unique_ptr<PackageFile> createFile(const std::string& path, std::string& error) override {
        const std::size_t index = m_files++;
        if (failAt == Step::CreateFile && index == fileIndex) {
            error = "No space left on device";
            return nullptr;
        }
        auto file = m_real.createFile(path, error);
        if (!file || index != fileIndex || (failAt != Step::Write && failAt != Step::Finish)) return file;
        return std::make_unique<FailingFile>(std::move(file), failAt, writtenBefore);
    }
    std::optional<std::string> publishFolder(const std::string& from, const std::string& to) override {
        if (failAt == Step::Publish) return "Input/output error";
        return m_real.publishFolder(from, to);
    }
    void removeFolder(const std::string& path) override { m_real.removeFolder(path); }

private:
    class FailingFile : public PackageFile {
    public:
        FailingFile(std::unique_ptr<PackageFile> real, Step step, std::size_t limit)
            : m_real(std::move(real)), m_step(step), m_left(limit) {}
        std::optional<std::string> write(std::span<const std::uint8_t> bytes) override {
            if (m_step != Step::Write || bytes.size() <= m_left) {
                if (m_step == Step::Write) m_left -= bytes.size();
                return m_real->write(bytes);
            }
            // Part of it lands, then the card is full.
            (void)m_real->write(bytes.first(m_left));
            m_left = 0;
            return "No space left on device";
        }
        std::optional<std::string> finish() override {
            auto result = m_real->finish();
            if (m_step == Step::Finish) return "Input/output error";
            return result;
        }

    private:
        std::unique_ptr<PackageFile> m_real;
        Step m_step;
        std::size_t m_left;
    };

    PosixPackageFolderWriter m_real;
    std::size_t m_files = 0;
};

}  // namespace zentrova::test
