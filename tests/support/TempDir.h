#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace zentrova::test {

// A fresh directory under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentrova-test-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        m_path = made ? std::filesystem::path(made) : std::filesystem::path();
    }
    ~TempDir() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }

    std::filesystem::path touch(const std::string& relative, const std::string& content = "") const {
        std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

    std::filesystem::path mkdir(const std::string& relative) const {
        std::filesystem::path dir = m_path / relative;
        std::filesystem::create_directories(dir);
        return dir;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace zentrova::test
