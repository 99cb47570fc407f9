#pragma once

#include "playback/VideoFrameSize.h"
#include "playback/VideoFramePool.h"

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace zentrova {

// Scales a part of a decoded YUV picture and converts it to 32-bit ARGB
// in one pass over the picture, on the CPU (libyuv). Keeps the scaled
// YUV it goes through, so that converting picture after picture at one
// size allocates nothing.
class VideoPictureConverter {
public:
    struct Target {
        unsigned char* pixels = nullptr;
        int bytesPerLine = 0;
        int width = 0;
        int height = 0;
    };

    // The source rectangle of picture, scaled to the target's size. False
    // for a picture that is not YUV, a rectangle outside it, or when
    // memory runs out.
    bool convert(const VideoFramePool::Frame& picture, VideoFrameSize::Rect source, const Target& target);

private:
    struct FreeDeleter {
        void operator()(unsigned char* pixels) const { std::free(pixels); }
    };
    bool prepareScaled(VideoFramePool::Format format, int width, int height);

    VideoFramePool::Layout m_scaledLayout;
    std::unique_ptr<unsigned char, FreeDeleter> m_scaled;
};

}  // namespace zentrova
