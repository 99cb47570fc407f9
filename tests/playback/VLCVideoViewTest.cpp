#include "playback/VLCVideoView.h"

#include "playback/VideoFramePool.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>

namespace zentrova {
namespace {

// A pool whose latest picture is wholly of one colour.
std::shared_ptr<VideoFramePool> poolShowing(QRgb colour, int width = 320, int height = 180) {
    std::shared_ptr<VideoFramePool> pool = VideoFramePool::create(width, height);
    unsigned char* pixels = pool->beginWriting();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * pool->layout().bytesPerLine);
        for (int x = 0; x < width; ++x) line[x] = colour;
    }
    pool->publish(pixels);
    return pool;
}

QRgb middleOf(VLCVideoView& view) {
    const QImage drawn = view.grab().toImage();
    return drawn.pixel(drawn.width() / 2, drawn.height() / 2) | 0xff000000u;
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
