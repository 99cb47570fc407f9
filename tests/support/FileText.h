#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zentrova::test {

// The whole content of a file as bytes; empty when it cannot be read.
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace zentrova::test
