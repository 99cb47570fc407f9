#include "playback/VideoPictureConverter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace zentrova {
namespace {

using Format = VideoFramePool::Format;
using Rect = VideoFrameSize::Rect;

struct Yuv {
    std::uint8_t y, u, v;
};
struct Rgb {
    int r, g, b;
};

// A published picture whose every pixel has the colour colourAt(x, y)
// gives; chroma is taken at the top-left pixel of each two by two block.
VideoFramePool::Frame pictureOf(Format format, int width, int height, bool fullRange,
                                const std::function<Yuv(int, int)>& colourAt) {
    VideoFramePool::Layout layout = VideoFramePool::Layout::yuv(format, width, height, width, height);
    layout.fullRange = fullRange;
    const auto pool = VideoFramePool::create(layout, 1);
    unsigned char* buffer = pool->beginWriting();
    const auto& planes = layout.planes;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Yuv colour = colourAt(x, y);
            buffer[planes[0].offset + static_cast<std::size_t>(y * planes[0].bytesPerLine + x)] = colour.y;
            if (x % 2 || y % 2) continue;
            const std::size_t line = static_cast<std::size_t>(y / 2);
            if (format == Format::I420) {
                buffer[planes[1].offset + line * planes[1].bytesPerLine + x / 2] = colour.u;
                buffer[planes[2].offset + line * planes[2].bytesPerLine + x / 2] = colour.v;
            } else {
                buffer[planes[1].offset + line * planes[1].bytesPerLine + x] = colour.u;
                buffer[planes[1].offset + line * planes[1].bytesPerLine + x + 1] = colour.v;
            }
        }
    }
    pool->publish(buffer);
    return pool->latest();
}

VideoFramePool::Frame uniform(Format format, Yuv colour, bool fullRange = false) {
    return pictureOf(format, 32, 16, fullRange, [colour](int, int) { return colour; });
}

class Argb {
public:
    Argb(int width, int height) : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width * height)) {}
    VideoPictureConverter::Target target() {
        return {reinterpret_cast<unsigned char*>(m_pixels.data()), m_width * 4, m_width, m_height};
    }
    Rgb at(int x, int y) const {
        const std::uint32_t pixel = m_pixels[static_cast<std::size_t>(y * m_width + x)];
        return {static_cast<int>((pixel >> 16) & 0xff), static_cast<int>((pixel >> 8) & 0xff),
                static_cast<int>(pixel & 0xff)};
    }

private:
    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_pixels;
};

// Scaling rounds the colour planes once more, which the conversion to RGB
// amplifies by up to two.
void expectNear(Rgb actual, Rgb expected, int tolerance = 3) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
}

constexpr Yuv kRed601{81, 90, 240};
constexpr Yuv kBlue601{41, 240, 110};
constexpr Yuv kWhite601{235, 128, 128};
constexpr Yuv kBlack601{16, 128, 128};

// The colours of a camera's recording: limited-range BT.601 unless the
// picture says it is full range, in both plane layouts, at the picture's
// size and scaled.
TEST(VideoPictureConverterTest, ColoursComeOutAsCodedInEveryLayoutAndSize) {
    struct Case {
        const char* name;
        Format format;
        Yuv colour;
        bool fullRange;
        Rgb expected;
    } cases[] = {
        {"limited black", Format::I420, kBlack601, false, {0, 0, 0}},
        {"limited white", Format::I420, kWhite601, false, {255, 255, 255}},
        {"red", Format::I420, kRed601, false, {255, 0, 0}},
        {"green", Format::I420, {145, 54, 34}, false, {0, 255, 0}},
        {"blue", Format::I420, kBlue601, false, {0, 0, 255}},
        {"interleaved chroma, red", Format::Nv12, kRed601, false, {255, 0, 0}},
        {"interleaved chroma, blue", Format::Nv12, kBlue601, false, {0, 0, 255}},
        {"full-range black is not lifted", Format::I420, {0, 128, 128}, true, {0, 0, 0}},
        {"full-range mid grey is not stretched", Format::I420, {128, 128, 128}, true, {128, 128, 128}},
        {"full-range white", Format::I420, {255, 128, 128}, true, {255, 255, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VideoFramePool::Frame picture = uniform(c.format, c.colour, c.fullRange);
        for (const auto& [width, height] : {std::pair{32, 16}, {12, 6}, {64, 40}}) {
            SCOPED_TRACE(width);
            Argb out(width, height);
            VideoPictureConverter converter;
            ASSERT_TRUE(converter.convert(picture, {0, 0, 32, 16}, out.target()));
            expectNear(out.at(width / 2, height / 2), c.expected, width == 32 ? 3 : 8);
        }
    }
}

// Left half red, right half blue, top half bright, bottom half dark: a
// crop read from the wrong place in the luma or in either chroma plane
// shows another quarter's colour or brightness.
TEST(VideoPictureConverterTest, ACropShowsThePartOfThePictureItNames) {
    auto quarters = [](int x, int y) {
        Yuv colour = x < 32 ? kRed601 : kBlue601;
        if (y >= 16) colour.y = static_cast<std::uint8_t>(colour.y / 2 + 8);
        return colour;
    };
    struct Case {
        const char* name;
        Rect source;
        Rgb expected;
    } cases[] = {
        {"top left", {0, 0, 32, 16}, {255, 0, 0}},
        {"top right", {32, 0, 32, 16}, {0, 0, 255}},
        {"bottom left is darker", {0, 16, 32, 16}, {216, 0, 0}},
        {"bottom right is darker", {32, 16, 32, 16}, {0, 0, 238}},
    };
    for (Format format : {Format::I420, Format::Nv12}) {
        const VideoFramePool::Frame picture = pictureOf(format, 64, 32, false, quarters);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            for (int size : {16, 8}) {
                Argb out(size * 2, size);
                VideoPictureConverter converter;
                ASSERT_TRUE(converter.convert(picture, c.source, out.target()));
                expectNear(out.at(1, 1), c.expected, 8);
                expectNear(out.at(size * 2 - 2, size - 2), c.expected, 8);
            }
        }
    }
}

TEST(VideoPictureConverterTest, ScalingKeepsWhereThingsAreAndOneConverterServesSizeAfterSize) {
    // A white bar over columns 48 to 63 of 128, on black.
    const VideoFramePool::Frame picture =
        pictureOf(Format::I420, 128, 64, false, [](int x, int) { return x >= 48 && x < 64 ? kWhite601 : kBlack601; });
    VideoPictureConverter converter;
    for (int width : {64, 32, 256, 64}) {
        SCOPED_TRACE(width);
        Argb out(width, 16);
        ASSERT_TRUE(converter.convert(picture, {0, 0, 128, 64}, out.target()));
        const int scale = 128 / width == 0 ? 1 : 128 / width;
        const int barStart = 48 * width / 128;
        const int barEnd = 64 * width / 128;
        EXPECT_GT(out.at((barStart + barEnd) / 2, 8).g, 240);
        EXPECT_LT(out.at(barStart - 2 * scale, 8).g, 20);
        EXPECT_LT(out.at(std::min(barEnd + 2 * scale, width - 1), 8).g, 20);
    }
}

TEST(VideoPictureConverterTest, RefusesWhatItCannotConvertAndWritesNothing) {
    const VideoFramePool::Frame picture = uniform(Format::I420, kWhite601);
    const auto argbPool = VideoFramePool::create(VideoFramePool::Layout::argb(8, 8), 1);
    argbPool->publish(argbPool->beginWriting());
    struct Case {
        const char* name;
        Rect source;
        bool argb;
    } cases[] = {
        {"odd column: the chroma would be off by half a pixel", {1, 0, 16, 16}, false},
        {"odd line", {0, 1, 16, 8}, false},
        {"past the right edge", {20, 0, 16, 16}, false},
        {"past the bottom", {0, 8, 16, 16}, false},
        {"empty", {0, 0, 0, 16}, false},
        {"an RGB picture", {0, 0, 8, 8}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Argb out(8, 8);
        VideoPictureConverter converter;
        EXPECT_FALSE(converter.convert(c.argb ? argbPool->latest() : picture.share(), c.source, out.target()));
        expectNear(out.at(4, 4), {0, 0, 0});
    }
    Argb out(8, 8);
    EXPECT_FALSE(VideoPictureConverter().convert(VideoFramePool::Frame(), {0, 0, 8, 8}, out.target()));
}

}  // namespace
}  // namespace zentrova
