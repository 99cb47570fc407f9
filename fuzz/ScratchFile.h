#pragma once

// One file per fuzzer process that each input is written to, so that the
// readers under test open a real file. It lives in memory (/dev/shm) where
// that exists: a disk file rewritten a million times costs a flush each time.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace zentrova::fuzz {

// The file is unlinked at once and reached through its open descriptor, so
// that nothing is left behind: libFuzzer ends on a finding or when stopped
// with _Exit, which runs no clean-up.
inline const std::string& scratchFile(const char* name) {
    static const std::string path = [name] {
        std::error_code ec;
        const bool inMemory = std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0;
        const std::filesystem::path dir = inMemory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        std::string pattern = (dir / (std::string(name) + "-XXXXXX")).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) std::abort();
        ::unlink(pattern.c_str());
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

}  // namespace zentrova::fuzz
