#include "card/linux/SystemPrograms.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace zentrova {
namespace {

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<std::string> findSystemProgram(std::string_view name) {
    std::string folders = "/usr/sbin:/sbin";
    if (const char* path = std::getenv("PATH")) folders = std::string(path) + ":" + folders;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::filesystem::path folder = folders.substr(start, end - start);
        start = end + 1;
        if (!folder.is_absolute()) continue;
        const std::filesystem::path candidate = folder / name;
        if (isExecutableFile(candidate)) return candidate.string();
    }
    return std::nullopt;
}

}  // namespace zentrova
