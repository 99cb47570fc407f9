#include "playback/VideoPictureConverter.h"

#include <libyuv/convert_argb.h>
#include <libyuv/scale.h>

namespace zentrova {
namespace {

using Format = VideoFramePool::Format;

// The planes of a YUV picture from a point on: luma, then chroma (U and V,
// or the interleaved pairs in the second plane).
struct Planes {
    unsigned char* data[3] = {};
    int bytesPerLine[3] = {};
};

// x and y are even for a picture whose chroma is subsampled.
Planes planesAt(const VideoFramePool::Layout& layout, unsigned char* pixels, int x, int y) {
    Planes planes;
    for (int i = 0; i < layout.planeCount; ++i) {
        const VideoFramePool::Plane& plane = layout.planes[static_cast<std::size_t>(i)];
        const int column = i == 0 ? x : (layout.format == Format::Nv12 ? x : x / 2);
        const int line = i == 0 ? y : y / 2;
        planes.data[i] = pixels + plane.offset + static_cast<std::size_t>(line) * plane.bytesPerLine + column;
        planes.bytesPerLine[i] = plane.bytesPerLine;
    }
    return planes;
}

// Video is coded for BT.601 unless it says otherwise, which libVLC does not
// tell through its picture callbacks; this is also what the decoder's own
// conversion to RGB used, so colours look as they always did.
const libyuv::YuvConstants* matrixOf(const VideoFramePool::Layout& layout) {
    return layout.fullRange ? &libyuv::kYuvJPEGConstants : &libyuv::kYuvI601Constants;
}

bool toArgb(const VideoFramePool::Layout& layout, const Planes& from, const VideoPictureConverter::Target& target) {
    if (layout.format == Format::I420) {
        return libyuv::I420ToARGBMatrix(from.data[0], from.bytesPerLine[0], from.data[1], from.bytesPerLine[1],
                                        from.data[2], from.bytesPerLine[2], target.pixels, target.bytesPerLine,
                                        matrixOf(layout), target.width, target.height) == 0;
    }
    return libyuv::NV12ToARGBMatrix(from.data[0], from.bytesPerLine[0], from.data[1], from.bytesPerLine[1],
                                    target.pixels, target.bytesPerLine, matrixOf(layout), target.width,
                                    target.height) == 0;
}

bool inside(const VideoFramePool::Layout& layout, VideoFrameSize::Rect rect) {
    return !rect.isEmpty() && rect.x >= 0 && rect.y >= 0 && rect.x % 2 == 0 && rect.y % 2 == 0 &&
           rect.x + rect.width <= layout.width && rect.y + rect.height <= layout.height;
}

}  // namespace

bool VideoPictureConverter::prepareScaled(Format format, int width, int height) {
    if (m_scaled && m_scaledLayout.format == format && m_scaledLayout.width == width &&
        m_scaledLayout.height == height) {
        return true;
    }
    m_scaled.reset();
    m_scaledLayout = VideoFramePool::Layout::yuv(format, width, height, width, height);
    if (!m_scaledLayout.isValid()) return false;
    m_scaled.reset(static_cast<unsigned char*>(std::aligned_alloc(64, m_scaledLayout.bytes)));
    return m_scaled != nullptr;
}

bool VideoPictureConverter::convert(const VideoFramePool::Frame& picture, VideoFrameSize::Rect source,
                                    const Target& target) {
    const VideoFramePool::Layout& layout = picture.layout();
    if (!picture || layout.format == Format::Argb || !inside(layout, source) || !target.pixels ||
        target.width <= 0 || target.height <= 0) {
        return false;
    }
    // The planes are written only in the scaled copy; the picture's are only read.
    const Planes from = planesAt(layout, const_cast<unsigned char*>(picture.pixels()), source.x, source.y);
    if (source.width == target.width && source.height == target.height) return toArgb(layout, from, target);

    // Scaling the planes first and converting the few pixels left costs
    // about half of converting first and scaling the ARGB picture.
    if (!prepareScaled(layout.format, target.width, target.height)) return false;
    const Planes to = planesAt(m_scaledLayout, m_scaled.get(), 0, 0);
    int failed = 0;
    if (layout.format == Format::I420) {
        failed = libyuv::I420Scale(from.data[0], from.bytesPerLine[0], from.data[1], from.bytesPerLine[1],
                                   from.data[2], from.bytesPerLine[2], source.width, source.height,
                                   to.data[0], to.bytesPerLine[0],
                                   to.data[1], to.bytesPerLine[1],
                                   to.data[2], to.bytesPerLine[2], target.width,
                                   target.height, libyuv::kFilterBilinear);
    } else {
        failed = libyuv::NV12Scale(from.data[0], from.bytesPerLine[0], from.data[1], from.bytesPerLine[1],
                                   source.width, source.height, to.data[0],
                                   to.bytesPerLine[0], to.data[1], to.bytesPerLine[1],
                                   target.width, target.height, libyuv::kFilterBilinear);
    }
    VideoFramePool::Layout scaled = m_scaledLayout;
    scaled.fullRange = layout.fullRange;
    return failed == 0 && toArgb(scaled, to, target);
}

}  // namespace zentrova
