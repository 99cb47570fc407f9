#include "playback/VideoFrameSize.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

// Drawn up to a tenth larger still looks sharp; drawn at under three
// quarters the scaler did almost twice the work needed.
constexpr double kLargestUpscale = 1.1;
constexpr double kSmallestDownscale = 0.75;

int scaledSide(int side, double scale) {
    return std::clamp(static_cast<int>(std::lround(side * scale)), 1, VideoFrameSize::kLargestSide);
}

// An odd width sends the scaler down a path that costs twice as much: one
// column more is cropped when covering, one less shown when fitting.
VideoFrameSize::Size withEvenWidth(VideoFrameSize::Size frame, VideoFrameSize::Fit fit) {
    if (frame.width % 2 == 0) return frame;
    const bool grow = fit == VideoFrameSize::Fit::Cover && frame.width < VideoFrameSize::kLargestSide;
    frame.width = grow ? frame.width + 1 : std::max(frame.width - 1, 2);
    return frame;
}

}  // namespace

VideoFrameSize::Size VideoFrameSize::forArea(Size picture, Size area, Fit fit) {
    if (picture.isEmpty()) return {};
    if (area.isEmpty()) area = picture;
    const double across = static_cast<double>(area.width) / picture.width;
    const double down = static_cast<double>(area.height) / picture.height;
    double scale = fit == Fit::Cover ? std::max(across, down) : std::min(across, down);
    scale = std::min({scale, static_cast<double>(kLargestSide) / picture.width,
                      static_cast<double>(kLargestSide) / picture.height});
    Size frame{scaledSide(picture.width, scale), scaledSide(picture.height, scale)};
    // The side that matches the area is taken from it, so that the frame
    // lies on the view pixel for pixel.
    if (scale == across) frame.width = std::min(area.width, kLargestSide);
    if (scale == down) frame.height = std::min(area.height, kLargestSide);
    return withEvenWidth(frame, fit);
}

bool VideoFrameSize::worthChanging(Size current, Size wanted) {
    if (wanted.isEmpty() || current == wanted) return false;
    if (current.isEmpty()) return true;
    const double ratio = std::max(static_cast<double>(wanted.width) / current.width,
                                  static_cast<double>(wanted.height) / current.height);
    return ratio > kLargestUpscale || ratio < kSmallestDownscale;
}

}  // namespace zentrova
