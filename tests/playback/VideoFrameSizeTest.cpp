#include <gtest/gtest.h>

#include "playback/VideoFrameSize.h"

namespace zentrova {
namespace {

using Fit = VideoFrameSize::Fit;
using Size = VideoFrameSize::Size;
using Rect = VideoFrameSize::Rect;

constexpr Size k1080p{1920, 1080};

TEST(VideoFrameSizeTest, PicturesTakeTheSizeTheyHaveInTheView) {
    struct Case {
        const char* name;
        Size picture;
        Size area;
        Fit fit;
        Size frame;
    } cases[] = {
        {"main view, height matches", k1080p, {656, 372}, Fit::Cover, {661, 372}},
        {"second view crops the sides", k1080p, {334, 250}, Fit::Cover, {444, 250}},
        {"fitting inside leaves bands", k1080p, {334, 250}, Fit::Inside, {334, 188}},
        {"full screen keeps the decoded size", k1080p, {1920, 1044}, Fit::Cover, {1920, 1080}},
        {"a smaller video is scaled up", {1280, 720}, {1920, 1044}, Fit::Cover, {1920, 1080}},
        {"a tall view crops a wide picture", k1080p, {300, 600}, Fit::Cover, {1067, 600}},
        {"unknown area gives the picture", k1080p, {0, 0}, Fit::Cover, k1080p},
        {"huge area is capped", k1080p, {10000, 10000}, Fit::Cover, {4096, 2304}},
        {"unknown picture gives nothing", {0, 0}, {656, 372}, Fit::Cover, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Size frame = VideoFrameSize::forArea(c.picture, c.area, c.fit);
        EXPECT_EQ(frame.width, c.frame.width);
        EXPECT_EQ(frame.height, c.frame.height);
    }
}

// The view converts only the part of the picture it shows, straight into
// the rectangle it draws: a part off centre, on an odd column (the colour
// planes would slip by half a pixel) or of the wrong shape shows up as a
// shifted, tinted or stretched picture.
TEST(VideoFrameSizeTest, APlacementShowsTheCentreOfTheCoveredPictureAndAllOfAFittedOne) {
    struct Case {
        const char* name;
        Size pixels;
        Size display;
        Size area;
        Fit fit;
        Rect source;
        Rect target;
    } cases[] = {
        {"main view crops a few columns", k1080p, k1080p, {656, 372}, Fit::Cover, {6, 0, 1905, 1080}, {0, 0, 656, 372}},
        {"second view crops a quarter evenly", k1080p, k1080p, {334, 250}, Fit::Cover, {238, 0, 1444, 1080},
         {0, 0, 334, 250}},
        {"a tall view crops most of the width", k1080p, k1080p, {300, 600}, Fit::Cover, {690, 0, 540, 1080},
         {0, 0, 300, 600}},
        {"a wide view crops lines instead", k1080p, k1080p, {1000, 400}, Fit::Cover, {0, 156, 1920, 767},
         {0, 0, 1000, 400}},
        {"a picture of the area's shape is taken whole", k1080p, k1080p, {960, 540}, Fit::Cover, {0, 0, 1920, 1080},
         {0, 0, 960, 540}},
        {"fitting inside keeps the picture whole, in bands", k1080p, k1080p, {334, 250}, Fit::Inside,
         {0, 0, 1920, 1080}, {0, 31, 334, 188}},
        {"wide pixels are shown wider", {1440, 1080}, k1080p, {334, 250}, Fit::Cover, {178, 0, 1083, 1080},
         {0, 0, 334, 250}},
        {"wide pixels fitted keep their shape", {1440, 1080}, k1080p, {640, 480}, Fit::Inside, {0, 0, 1440, 1080},
         {0, 60, 640, 360}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VideoFrameSize::Placement placement = VideoFrameSize::place(c.pixels, c.display, c.area, c.fit);
        EXPECT_EQ(placement.source, c.source) << placement.source.x << "," << placement.source.y << " "
                                              << placement.source.width << "x" << placement.source.height;
        EXPECT_EQ(placement.target, c.target) << placement.target.x << "," << placement.target.y << " "
                                              << placement.target.width << "x" << placement.target.height;
        EXPECT_EQ(placement.source.x % 2, 0);
        EXPECT_EQ(placement.source.y % 2, 0);
    }
    EXPECT_TRUE(VideoFrameSize::place(k1080p, k1080p, {0, 0}, Fit::Cover).isEmpty()) << "no area yet";
    EXPECT_TRUE(VideoFrameSize::place({0, 0}, k1080p, {656, 372}, Fit::Cover).isEmpty()) << "no picture yet";
}

}  // namespace
}  // namespace zentrova
