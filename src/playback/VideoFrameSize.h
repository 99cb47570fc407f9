#pragma once

namespace zentrova {

// The size the decoder is asked to deliver frames at, so that the picture
// is drawn without scaling: the size it takes in its view.
struct VideoFrameSize {
    struct Size {
        int width = 0;
        int height = 0;
        bool isEmpty() const { return width <= 0 || height <= 0; }
        friend bool operator==(const Size&, const Size&) = default;
    };
    // Cover fills the whole area and crops what overflows; Inside fits the
    // whole picture into it.
    enum class Fit { Cover, Inside };

    // Frames larger than this on a side are never asked for.
    static constexpr int kLargestSide = 4096;

    // The picture's size scaled to the area as the fit says, with an even
    // width; the picture's own size when the area is unknown; empty for
    // an unknown picture.
    static Size forArea(Size picture, Size area, Fit fit);

    // Whether frames of the current size are far enough from the wanted
    // ones to restart the decoder's output: visibly soft when drawn larger,
    // or much more work than needed when drawn smaller.
    static bool worthChanging(Size current, Size wanted);
};

}  // namespace zentrova
