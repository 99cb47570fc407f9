#include "playback/VideoFrameSize.h"

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

int scaledSide(double side, double scale) {
    return std::clamp(static_cast<int>(std::lround(side * scale)), 1, VideoFrameSize::kLargestSide);
}

// A centred span of length inside whole, starting on an even place.
void centreOnEven(int whole, int length, int& start, int& span) {
    span = std::clamp(length, 1, whole);
    start = (whole - span) / 2 / 2 * 2;
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
    // The side that matches the area is taken from it, so that the picture
    // lies on the view pixel for pixel.
    if (scale == across) frame.width = std::min(area.width, kLargestSide);
    if (scale == down) frame.height = std::min(area.height, kLargestSide);
    return frame;
}

VideoFrameSize::Placement VideoFrameSize::place(Size pixels, Size display, Size area, Fit fit) {
    if (pixels.isEmpty() || area.isEmpty()) return {};
    if (display.isEmpty()) display = pixels;
    area = {std::min(area.width, kLargestSide), std::min(area.height, kLargestSide)};
    const Size shown = forArea(display, area, fit);
    Placement placement;
    if (fit == Fit::Inside) {
        placement.source = {0, 0, pixels.width, pixels.height};
        placement.target = {(area.width - shown.width) / 2, (area.height - shown.height) / 2, shown.width,
                            shown.height};
        return placement;
    }
    // Of the picture scaled to cover the area, the area's share is shown.
    const double shareAcross = static_cast<double>(area.width) / shown.width;
    const double shareDown = static_cast<double>(area.height) / shown.height;
    centreOnEven(pixels.width, static_cast<int>(std::lround(pixels.width * shareAcross)), placement.source.x,
                 placement.source.width);
    centreOnEven(pixels.height, static_cast<int>(std::lround(pixels.height * shareDown)), placement.source.y,
                 placement.source.height);
    placement.target = {0, 0, area.width, area.height};
    return placement;
}

}  // namespace zentrova
