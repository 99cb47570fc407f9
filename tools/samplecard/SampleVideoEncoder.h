#pragma once

#include "CivilTime.h"

#include <optional>
#include <string>

namespace zentrova::samplecard {

struct SampleVideo {
    std::string outputPath;
    std::string textFilePath;  // a scratch file for the overlay text, in a folder without odd characters
    bool front = true;         // front: test picture with sound; rear: inverted picture, silent
    int width = 320;
    int height = 180;
    int durationSeconds = 8;
    CivilTime clockStart;      // the recording's start, shown as a running clock
};

// Makes an H.264 recording with ffmpeg: a moving test picture, the side of
// the camera, the wall-clock time of the frame and the time into the file,
// so that a person can see whether the two players show the same moment.
class SampleVideoEncoder {
public:
    static constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

    // None on success, else what went wrong (ffmpeg's last words included).
    static std::optional<std::string> encode(const SampleVideo& video);

private:
    static std::string overlayText(const SampleVideo& video);
    static std::string videoFilter(const SampleVideo& video);
    static std::string escapeFilterValue(const std::string& value);
};

}  // namespace zentrova::samplecard
