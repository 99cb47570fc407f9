#include "playback/VLCVideoView.h"

#include "playback/VideoFramePool.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace zentrova {
namespace {

// A pool whose latest picture is wholly of one colour, coded as the
// decoder codes it (BT.601, luma from 16 to 235).
std::shared_ptr<VideoFramePool> poolShowing(QRgb colour, int width = 320, int height = 180) {
    std::shared_ptr<VideoFramePool> pool = VideoFramePool::create(
        VideoFramePool::Layout::yuv(VideoFramePool::Format::I420, width, height, width, height));
    const double r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    const int values[] = {static_cast<int>(16 + 0.257 * r + 0.504 * g + 0.098 * b + 0.5),
                          static_cast<int>(128 - 0.148 * r - 0.291 * g + 0.439 * b + 0.5),
                          static_cast<int>(128 + 0.439 * r - 0.368 * g - 0.071 * b + 0.5)};
    unsigned char* pixels = pool->beginWriting();
    const VideoFramePool::Layout& layout = pool->layout();
    for (int i = 0; i < layout.planeCount; ++i) {
        const VideoFramePool::Plane& plane = layout.planes[static_cast<std::size_t>(i)];
        std::memset(pixels + plane.offset, values[i], static_cast<std::size_t>(plane.bytesPerLine) * plane.lines);
    }
    pool->publish(pixels);
    return pool;
}

// The colour in the middle of the view, to the nearest of the colours the
// test uses: the conversion back from YUV is off by a few steps.
QRgb middleOf(VLCVideoView& view) {
    const QImage drawn = view.grab().toImage();
    const QRgb seen = drawn.pixel(drawn.width() / 2, drawn.height() / 2);
    for (QRgb known : {qRgb(200, 0, 0), qRgb(0, 0, 200), qRgb(0, 0, 0)}) {
        if (std::abs(qRed(seen) - qRed(known)) < 12 && std::abs(qGreen(seen) - qGreen(known)) < 12 &&
            std::abs(qBlue(seen) - qBlue(known)) < 12) {
            return known;
        }
    }
    return seen | 0xff000000u;
}

TEST(VLCVideoViewTest, TheLastPictureOutlivesItsPlayerUntilANewOneOrUntilForgotten) {
    test::widgetTestApplication();
    const QRgb red = qRgb(200, 0, 0), blue = qRgb(0, 0, 200), black = qRgb(0, 0, 0);
    struct Case {
        const char* what;
        std::function<void(VLCVideoView&)> after;
        QRgb expected;
    } cases[] = {
        {"the player let go of its pictures", [](VLCVideoView& v) { v.clearFrame(); }, red},
        {"a new recording's first picture", [&](VLCVideoView& v) {
             v.clearFrame();
             v.showFramesFrom(poolShowing(blue, 640, 360));
         }, blue},
        {"forgotten", [](VLCVideoView& v) {
             v.clearFrame();
             v.forgetPicture();
         }, black},
        {"forgotten while the player still has pictures", [](VLCVideoView& v) { v.forgetPicture(); }, black},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VLCVideoView view;
        view.resize(320, 180);
        std::shared_ptr<VideoFramePool> pool = poolShowing(red);
        view.showFramesFrom(pool);
        ASSERT_EQ(middleOf(view), red);
        c.after(view);
        pool.reset();  // the player gone with its pool
        EXPECT_EQ(middleOf(view), c.expected);
    }
}

}  // namespace
}  // namespace zentrova
