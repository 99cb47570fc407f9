#pragma once

namespace zentrova {

// Where a decoded picture goes in the area of its view: the size it is
// shown at, and which part of it is drawn where, pixel for pixel.
struct VideoFrameSize {
    struct Size {
        int width = 0;
        int height = 0;
        bool isEmpty() const { return width <= 0 || height <= 0; }
        friend bool operator==(const Size&, const Size&) = default;
    };
    struct Rect {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool isEmpty() const { return width <= 0 || height <= 0; }
        friend bool operator==(const Rect&, const Rect&) = default;
    };
    // Cover fills the whole area and crops what overflows; Inside fits the
    // whole picture into it.
    enum class Fit { Cover, Inside };

    // The part of the picture shown, in its own pixels, and the rectangle
    // of the area it is drawn into.
    struct Placement {
        Rect source;
        Rect target;
        bool isEmpty() const { return source.isEmpty() || target.isEmpty(); }
        friend bool operator==(const Placement&, const Placement&) = default;
    };

    // Shown pictures are never made larger than this on a side.
    static constexpr int kLargestSide = 4096;

    // The whole picture (at its display size) scaled to the area as the fit
    // says; the picture's own size when the area is unknown; empty for an
    // unknown picture.
    static Size forArea(Size picture, Size area, Fit fit);

    // pixels is the picture's own size, display the size it is shown at
    // (they differ for pixels that are not square). The part cut off when
    // covering is taken evenly from both sides, starting on an even pixel
    // so that the half-size colour planes stay aligned with it. Empty for
    // an unknown picture or area.
    static Placement place(Size pixels, Size display, Size area, Fit fit);
};

}  // namespace zentrova
