#include <gtest/gtest.h>

#include "playback/VideoFrameSize.h"

namespace zentrova {
namespace {

using Fit = VideoFrameSize::Fit;
using Size = VideoFrameSize::Size;

constexpr Size k1080p{1920, 1080};

TEST(VideoFrameSizeTest, FramesTakeTheSizeThePictureHasInTheViewWithAnEvenWidth) {
    struct Case {
        const char* name;
        Size picture;
        Size area;
        Fit fit;
        Size frame;
    } cases[] = {
        {"main view, height matches, width rounded up", k1080p, {656, 372}, Fit::Cover, {662, 372}},
        {"second view crops the sides", k1080p, {334, 250}, Fit::Cover, {444, 250}},
        {"fitting inside leaves bands", k1080p, {334, 250}, Fit::Inside, {334, 188}},
        {"odd width when fitting is rounded down", k1080p, {333, 250}, Fit::Inside, {332, 187}},
        {"full screen keeps the decoded size", k1080p, {1920, 1044}, Fit::Cover, {1920, 1080}},
        {"a smaller video is scaled up", {1280, 720}, {1920, 1044}, Fit::Cover, {1920, 1080}},
        {"a tall view crops a wide picture", k1080p, {300, 600}, Fit::Cover, {1068, 600}},
        {"unknown area gives the picture", k1080p, {0, 0}, Fit::Cover, k1080p},
        {"unknown area, odd picture", {321, 240}, {0, 0}, Fit::Cover, {322, 240}},
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

TEST(VideoFrameSizeTest, OnlyChangesFarFromTheCurrentSizeAreWorthARestart) {
    constexpr Size current{662, 372};
    struct Case {
        const char* name;
        Size current;
        Size wanted;
        bool worth;
    } cases[] = {
        {"same size", current, current, false},
        {"full screen", current, {1920, 1080}, true},
        {"a little larger stays sharp", current, {700, 394}, false},
        {"a tenth larger is soft", current, {740, 416}, true},
        {"a little smaller", current, {520, 292}, false},
        {"much smaller wastes work", current, {480, 270}, true},
        {"taller with the same width", current, {662, 420}, true},
        {"nothing yet", {0, 0}, current, true},
        {"nothing wanted", current, {0, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VideoFrameSize::worthChanging(c.current, c.wanted), c.worth);
    }
}

}  // namespace
}  // namespace zentrova
