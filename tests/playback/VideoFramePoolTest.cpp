#include <gtest/gtest.h>

#include "playback/VideoFramePool.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace zentrova {
namespace {

using Format = VideoFramePool::Format;
using Layout = VideoFramePool::Layout;

size_t bytesOf(const Layout& layout) { return layout.bytes; }

std::shared_ptr<VideoFramePool> argbPool(int width, int height) {
    return VideoFramePool::create(Layout::argb(width, height));
}

// Writes one complete picture whose every byte is the given value, gives
// the buffer back and then shows it, as libVLC does when it copies pictures.
const unsigned char* writePicture(VideoFramePool& pool, unsigned char value) {
    unsigned char* buffer = pool.beginWriting();
    std::memset(buffer, value, bytesOf(pool.layout()));
    pool.giveBack(buffer);
    pool.publish(buffer);
    return buffer;
}

bool allBytesAre(const VideoFramePool::Frame& frame, unsigned char value) {
    const size_t size = bytesOf(frame.layout());
    for (size_t i = 0; i < size; ++i) {
        if (frame.pixels()[i] != value) return false;
    }
    return true;
}

TEST(VideoFramePoolTest, LinesStartOnAlignedAddressesAndUnusableSizesAreRefused) {
    struct Case {
        int width;
        int height;
        int bytesPerLine;
    } cases[] = {{661, 372, 2688}, {16, 1, 64}, {1920, 1080, 7680}, {1, 1, 64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const auto pool = argbPool(c.width, c.height);
        ASSERT_NE(pool, nullptr);
        EXPECT_EQ(pool->layout().planes[0].bytesPerLine, c.bytesPerLine);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pool->beginWriting()) % 64, 0u);
    }
    for (const auto& [width, height] : {std::pair{0, 10}, {10, 0}, {-4, 10}, {8193, 10}}) {
        EXPECT_EQ(argbPool(width, height), nullptr) << width << "x" << height;
    }
}

// The decoder writes each plane at its offset with its line length: a
// plane too short for an odd last column or line, or overlapping the next,
// would lose or mix up picture lines.
TEST(VideoFramePoolTest, YuvPlanesHoldEveryLineOfTheDecodersBufferApartFromEachOther) {
    struct Case {
        const char* name;
        Format format;
        int bufferWidth;
        int bufferLines;
        int planes;
        int chromaRowBytes;
        int chromaLines;
    } cases[] = {
        {"1080p with the decoder's taller buffer", Format::I420, 1920, 1088, 3, 960, 544},
        {"odd width and height keep the last chroma column and line", Format::I420, 321, 241, 3, 161, 121},
        {"interleaved chroma pairs take a whole luma width", Format::Nv12, 1920, 1088, 2, 1920, 544},
        {"interleaved with an odd width", Format::Nv12, 321, 241, 2, 322, 121},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Layout layout = Layout::yuv(c.format, c.bufferWidth, c.bufferLines, c.bufferWidth, c.bufferLines - 8);
        ASSERT_EQ(layout.planeCount, c.planes);
        EXPECT_GE(layout.planes[0].bytesPerLine, c.bufferWidth);
        EXPECT_EQ(layout.planes[0].lines, c.bufferLines);
        size_t end = 0;
        for (int i = 0; i < layout.planeCount; ++i) {
            const VideoFramePool::Plane& plane = layout.planes[static_cast<size_t>(i)];
            SCOPED_TRACE(i);
            EXPECT_EQ(plane.offset % 64, 0u);
            EXPECT_EQ(plane.bytesPerLine % 64, 0);
            EXPECT_GE(plane.offset, end) << "overlaps the plane before";
            if (i > 0) {
                EXPECT_GE(plane.bytesPerLine, c.chromaRowBytes);
                EXPECT_EQ(plane.lines, c.chromaLines);
            }
            end = plane.offset + static_cast<size_t>(plane.bytesPerLine) * static_cast<size_t>(plane.lines);
        }
        EXPECT_LE(end, layout.bytes);
        EXPECT_EQ(layout.height, c.bufferLines - 8) << "the visible picture is kept apart from the buffer";
    }
    EXPECT_FALSE(Layout::yuv(Format::I420, 320, 240, 321, 240).isValid()) << "a picture wider than its buffer";
    EXPECT_FALSE(Layout::yuv(Format::Argb, 320, 240, 320, 240).isValid());
    EXPECT_FALSE(Layout::yuv(Format::I420, 9000, 240, 320, 240).isValid());
}

TEST(VideoFramePoolTest, ASharedHoldKeepsThePictureFromTheWriterUntilBothAreReleased) {
    const auto pool = argbPool(16, 2);
    writePicture(*pool, 5);
    VideoFramePool::Frame painted = pool->latest();
    VideoFramePool::Frame kept = painted.share();
    EXPECT_TRUE(kept.isSamePictureAs(painted));
    painted.release();
    for (unsigned char value = 6; value < 12; ++value) writePicture(*pool, value);
    EXPECT_TRUE(allBytesAre(kept, 5)) << "a picture still held is written over";
    EXPECT_FALSE(kept.isSamePictureAs(pool->latest()));
}

TEST(VideoFramePoolTest, ShowsTheLatestPictureAndNeverWritesIntoOneThatIsHeld) {
    const auto pool = argbPool(64, 8);
    ASSERT_NE(pool, nullptr);
    EXPECT_FALSE(pool->latest()) << "nothing before the first picture";

    const unsigned char* first = writePicture(*pool, 1);
    VideoFramePool::Frame held = pool->latest();
    ASSERT_TRUE(held);
    EXPECT_EQ(held.pixels(), first);
    EXPECT_EQ(held.number(), 1u);

    const unsigned char* previous = first;
    for (unsigned char value = 2; value < 40; ++value) {
        const unsigned char* buffer = writePicture(*pool, value);
        EXPECT_NE(buffer, first) << "the held picture is rewritten";
        EXPECT_NE(buffer, previous) << "the latest picture is handed out for writing";
        previous = buffer;
    }
    EXPECT_TRUE(allBytesAre(held, 1));
    EXPECT_EQ(pool->latest().number(), 39u);
    EXPECT_EQ(pool->bufferCount(), VideoFramePool::kInitialBuffers) << "one held, one latest, one written";
}

TEST(VideoFramePoolTest, GrowsWhenEveryBufferIsBusyAndIgnoresAStaleBuffer) {
    const auto pool = argbPool(32, 4);
    writePicture(*pool, 1);
    VideoFramePool::Frame painted = pool->latest();
    writePicture(*pool, 2);
    VideoFramePool::Frame copied = pool->latest();
    writePicture(*pool, 3);
    // Two held and the latest: the writer still gets a buffer of its own.
    unsigned char* fourth = pool->beginWriting();
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(pool->bufferCount(), 4u);
    EXPECT_NE(fourth, painted.pixels());
    EXPECT_NE(fourth, copied.pixels());

    // Only the buffer being written can be published, and only once.
    const std::uint64_t published = pool->publishedCount();
    unsigned char foreign[64] = {};
    pool->publish(foreign);
    EXPECT_EQ(pool->publishedCount(), published);
    pool->publish(fourth);
    pool->publish(fourth);
    EXPECT_EQ(pool->publishedCount(), published + 1);
    EXPECT_EQ(pool->latest().pixels(), fourth);
}

// A decoder writing into the pool keeps the pictures it predicts from and
// shows them in another order than it decodes them.
TEST(VideoFramePoolTest, ADecoderHoldingManyBuffersNeverGetsOneThatIsLentShownOrHeld) {
    const auto pool = argbPool(32, 4);
    std::vector<unsigned char*> lent;
    for (int i = 0; i < 12; ++i) lent.push_back(pool->beginWriting());
    std::sort(lent.begin(), lent.end());
    EXPECT_EQ(std::unique(lent.begin(), lent.end()), lent.end()) << "one buffer lent twice";
    EXPECT_EQ(pool->mostLentAtOnce(), 12u);

    // Shown out of the order lent; each stays lent until given back.
    std::memset(lent[5], 5, bytesOf(pool->layout()));
    pool->publish(lent[5]);
    VideoFramePool::Frame painted = pool->latest();
    std::memset(lent[2], 2, bytesOf(pool->layout()));
    pool->publish(lent[2]);
    for (unsigned char* buffer : lent) pool->giveBack(buffer);
    pool->giveBack(lent[0]);  // twice: nothing more comes free

    // All but the painted and the latest: a decoder writing straight into
    // the pool shows a picture before it gives it back, so lent[11], given
    // back unshown, was dropped.
    const std::size_t buffers = pool->bufferCount();
    std::vector<unsigned char*> again;
    for (std::size_t i = 0; i + 2 < buffers; ++i) again.push_back(pool->beginWriting());
    for (unsigned char* buffer : again) {
        EXPECT_NE(buffer, lent[5]) << "the painted picture is lent out";
        EXPECT_NE(buffer, lent[2]) << "the latest picture is lent out";
    }
    EXPECT_EQ(pool->bufferCount(), buffers) << "the given back buffers are used again";
    EXPECT_NE(pool->beginWriting(), nullptr) << "one more is made when all are busy";
    EXPECT_EQ(pool->bufferCount(), buffers + 1);
    EXPECT_TRUE(allBytesAre(painted, 5));

    unsigned char outside[64] = {};
    const std::uint64_t published = pool->publishedCount();
    pool->publish(outside);
    pool->publish(again.front());
    pool->giveBack(again[1]);
    pool->publish(again[1]);
    EXPECT_EQ(pool->publishedCount(), published + 1) << "only a lent buffer can be shown";
    const std::size_t before = pool->bufferCount();
    const std::vector<unsigned char*> taken = {pool->beginWriting(), pool->beginWriting()};
    EXPECT_NE(std::find(taken.begin(), taken.end(), again[1]), taken.end()) << "given back unshown, it is free at once";
    EXPECT_EQ(pool->bufferCount(), before);

    // Shown while lent, then given back: nothing waits for it any more.
    unsigned char* decoded = pool->beginWriting();
    pool->publish(decoded);
    pool->publish(pool->beginWriting());
    pool->giveBack(decoded);
    pool->publish(decoded);
    EXPECT_EQ(pool->publishedCount(), published + 3) << "shown and given back, it is not shown a second time";
}

// libVLC's copying output locks, copies and gives a buffer back, and only
// then shows it; a picture dropped as late is given back and never shown.
TEST(VideoFramePoolTest, ACopyingWriterKeepsItsLastPictureGivenBackUntilShown) {
    const auto pool = argbPool(32, 4);
    const std::uint64_t published = pool->publishedCount();
    unsigned char* copied = pool->beginWriting();
    pool->giveBack(copied);
    pool->publish(copied);
    EXPECT_EQ(pool->publishedCount(), published + 1) << "given back just before, it can be shown";

    unsigned char* dropped = pool->beginWriting();
    pool->giveBack(dropped);
    unsigned char* next = pool->beginWriting();
    EXPECT_NE(next, dropped) << "given back unshown, it waits to be shown";
    EXPECT_NE(next, copied) << "the latest picture is lent out";
    pool->giveBack(next);
    pool->publish(next);
    EXPECT_EQ(pool->publishedCount(), published + 2);
    EXPECT_EQ(pool->latest().pixels(), next);

    unsigned char* after = pool->beginWriting();
    EXPECT_TRUE(after == dropped || after == copied) << "a later one shown: the others are free again";
    EXPECT_EQ(pool->bufferCount(), 3u);
}

TEST(VideoFramePoolTest, AHeldPictureOutlivesThePoolsOtherOwners) {
    auto pool = argbPool(32, 4);
    writePicture(*pool, 7);
    VideoFramePool::Frame held = pool->latest();
    pool.reset();
    ASSERT_TRUE(held);
    EXPECT_TRUE(allBytesAre(held, 7));
    held.release();
    EXPECT_FALSE(held);
}

// The decoder writes on its own thread while the painter holds pictures:
// a held picture is complete and stays as it was published.
TEST(VideoFramePoolTest, APaintedPictureIsNeverTornByTheWriterThread) {
    const auto pool = argbPool(256, 64);
    constexpr int kPictures = 20000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int number = 1; number <= kPictures; ++number) writePicture(*pool, static_cast<unsigned char>(number % 251));
        done = true;
    });
    int checked = 0;
    int torn = 0;
    std::uint64_t lastNumber = 0;
    bool wentBack = false;
    while (!done || checked == 0) {
        const VideoFramePool::Frame frame = pool->latest();
        if (!frame) continue;
        const auto expected = static_cast<unsigned char>(frame.number() % 251);
        if (!allBytesAre(frame, expected)) ++torn;
        if (frame.number() < lastNumber) wentBack = true;
        lastNumber = frame.number();
        ++checked;
    }
    writer.join();
    EXPECT_GT(checked, 0);
    EXPECT_EQ(torn, 0);
    EXPECT_FALSE(wentBack);
    EXPECT_LE(pool->bufferCount(), VideoFramePool::kInitialBuffers);
}

}  // namespace
}  // namespace zentrova
