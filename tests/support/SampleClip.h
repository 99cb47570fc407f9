#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zentrova::test {

// Makes a clip with ffmpeg unless it exists. Test processes run in
// parallel and share the clips, so each writes a private file and renames
// it into place: nobody ever opens a half-written clip.
inline bool makeClipOnce(const std::string& path, const std::string& ffmpegArguments) {
    if (std::filesystem::exists(path)) return true;
    const std::string part = path + ".part-" + std::to_string(::getpid()) + ".mp4";
    const std::string command = "ffmpeg -v error -y " + ffmpegArguments + " '" + part + "'";
    if (std::system(command.c_str()) != 0) return false;
    std::error_code error;
    std::filesystem::rename(part, path, error);
    return !error;
}

}  // namespace zentrova::test
