#include "playback/VideoFramePool.h"

#include <algorithm>
#include <new>
#include <utility>

namespace zentrova {
namespace {

constexpr std::size_t kAlignment = 64;

std::size_t aligned(std::size_t bytes) { return (bytes + kAlignment - 1) / kAlignment * kAlignment; }

bool usableSide(int side) { return side > 0 && side <= VideoFramePool::kLargestSide; }

// Appends a plane of lines of rowBytes each to the layout.
void addPlane(VideoFramePool::Layout& layout, int rowBytes, int lines) {
    VideoFramePool::Plane& plane = layout.planes[static_cast<std::size_t>(layout.planeCount++)];
    plane.offset = layout.bytes;
    plane.bytesPerLine = static_cast<int>(aligned(static_cast<std::size_t>(rowBytes)));
    plane.lines = lines;
    layout.bytes += aligned(static_cast<std::size_t>(plane.bytesPerLine) * static_cast<std::size_t>(lines));
}

}  // namespace

VideoFramePool::Layout VideoFramePool::Layout::argb(int width, int height) {
    Layout layout;
    if (!usableSide(width) || !usableSide(height)) return layout;
    layout.format = Format::Argb;
    layout.width = layout.displayWidth = width;
    layout.height = layout.displayHeight = height;
    addPlane(layout, width * 4, height);
    return layout;
}

VideoFramePool::Layout VideoFramePool::Layout::yuv(Format format, int bufferWidth, int bufferLines, int width,
                                                   int height) {
    Layout layout;
    if (format == Format::Argb || !usableSide(bufferWidth) || !usableSide(bufferLines)) return layout;
    if (width <= 0 || height <= 0 || width > bufferWidth || height > bufferLines) return layout;
    layout.format = format;
    layout.width = layout.displayWidth = width;
    layout.height = layout.displayHeight = height;
    // Chroma covers two by two pixels, also the last odd column or line.
    const int chromaWidth = (bufferWidth + 1) / 2;
    const int chromaLines = (bufferLines + 1) / 2;
    addPlane(layout, bufferWidth, bufferLines);
    if (format == Format::I420) {
        addPlane(layout, chromaWidth, chromaLines);
        addPlane(layout, chromaWidth, chromaLines);
    } else {
        addPlane(layout, chromaWidth * 2, chromaLines);
    }
    return layout;
}

VideoFramePool::Frame::Frame(std::shared_ptr<VideoFramePool> pool, std::size_t index, const unsigned char* pixels,
                             std::uint64_t number)
    : m_pool(std::move(pool)), m_index(index), m_pixels(pixels), m_number(number) {}

VideoFramePool::Frame::Frame(Frame&& other) noexcept
    : m_pool(std::move(other.m_pool)), m_index(other.m_index), m_pixels(other.m_pixels), m_number(other.m_number) {
    other.m_pixels = nullptr;
    other.m_number = 0;
}

VideoFramePool::Frame& VideoFramePool::Frame::operator=(Frame&& other) noexcept {
    if (this != &other) {
        release();
        m_pool = std::move(other.m_pool);
        m_index = other.m_index;
        m_pixels = std::exchange(other.m_pixels, nullptr);
        m_number = std::exchange(other.m_number, 0);
    }
    return *this;
}

const VideoFramePool::Layout& VideoFramePool::Frame::layout() const {
    static const Layout none;
    return m_pool ? m_pool->layout() : none;
}

const unsigned char* VideoFramePool::Frame::plane(int index) const {
    const Layout& shape = layout();
    if (!m_pixels || index < 0 || index >= shape.planeCount) return nullptr;
    return m_pixels + shape.planes[static_cast<std::size_t>(index)].offset;
}

bool VideoFramePool::Frame::isSamePictureAs(const Frame& other) const {
    return m_pool && m_pool == other.m_pool && m_number == other.m_number;
}

VideoFramePool::Frame VideoFramePool::Frame::share() const {
    if (!m_pool) return Frame();
    m_pool->hold(m_index);
    return Frame(m_pool, m_index, m_pixels, m_number);
}

void VideoFramePool::Frame::release() {
    if (!m_pool) return;
    m_pool->releaseHold(m_index);
    m_pool.reset();
    m_pixels = nullptr;
    m_number = 0;
}

std::shared_ptr<VideoFramePool> VideoFramePool::create(const Layout& layout, std::size_t initialBuffers) {
    if (!layout.isValid()) return nullptr;
    std::shared_ptr<VideoFramePool> pool(new (std::nothrow) VideoFramePool(layout));
    if (!pool) return nullptr;
    for (std::size_t i = 0; i < initialBuffers; ++i) {
        if (!pool->addBuffer()) return nullptr;
    }
    return pool;
}

bool VideoFramePool::addBuffer() {
    auto* pixels = static_cast<unsigned char*>(std::aligned_alloc(kAlignment, m_layout.bytes));
    if (!pixels) return false;
    m_buffers.push_back(Buffer{std::unique_ptr<unsigned char, FreeDeleter>(pixels), 0});
    return true;
}

unsigned char* VideoFramePool::beginWriting() {
    std::lock_guard lock(m_mutex);
    std::size_t chosen = kNoBuffer;
    for (std::size_t i = 0; i < m_buffers.size() && chosen == kNoBuffer; ++i) {
        const Buffer& buffer = m_buffers[i];
        if (i != m_latest && i != m_givenBackUnshown && buffer.holders == 0 && !buffer.lent) chosen = i;
    }
    if (chosen == kNoBuffer) {
        if (!addBuffer()) return nullptr;
        chosen = m_buffers.size() - 1;
    }
    m_buffers[chosen].lent = true;
    m_buffers[chosen].shown = false;
    m_mostLent = std::max(m_mostLent, ++m_lent);
    return m_buffers[chosen].pixels.get();
}

std::size_t VideoFramePool::indexOf(const unsigned char* pixels) const {
    for (std::size_t i = 0; i < m_buffers.size(); ++i) {
        if (m_buffers[i].pixels.get() == pixels) return i;
    }
    return kNoBuffer;
}

void VideoFramePool::publish(const unsigned char* buffer) {
    std::lock_guard lock(m_mutex);
    // Only a lent buffer, or the one given back just before it is shown,
    // can become the picture shown; shown again, it is the same picture.
    const std::size_t index = indexOf(buffer);
    if (index == kNoBuffer || index == m_latest) return;
    if (!m_buffers[index].lent && index != m_givenBackUnshown) return;
    if (index == m_givenBackUnshown) m_givenBackUnshown = kNoBuffer;
    m_buffers[index].shown = true;
    m_latest = index;
    ++m_published;
}

void VideoFramePool::giveBack(const unsigned char* buffer) {
    std::lock_guard lock(m_mutex);
    const std::size_t index = indexOf(buffer);
    if (index == kNoBuffer || !m_buffers[index].lent) return;
    m_buffers[index].lent = false;
    --m_lent;
    // A copying output, which has one buffer at a time, gives a picture
    // back just before it shows it: of pictures never shown (dropped as
    // late) only the last one waits. A decoder writing straight into the
    // pool shows a picture before it gives it back, so one it gives back
    // unshown was dropped and is free at once.
    if (!m_buffers[index].shown && m_mostLent <= 1) m_givenBackUnshown = index;
}

VideoFramePool::Frame VideoFramePool::latest() {
    std::lock_guard lock(m_mutex);
    if (m_latest == kNoBuffer) return Frame();
    Buffer& buffer = m_buffers[m_latest];
    ++buffer.holders;
    return Frame(shared_from_this(), m_latest, buffer.pixels.get(), m_published);
}

void VideoFramePool::hold(std::size_t index) {
    std::lock_guard lock(m_mutex);
    if (index < m_buffers.size()) ++m_buffers[index].holders;
}

void VideoFramePool::releaseHold(std::size_t index) {
    std::lock_guard lock(m_mutex);
    if (index < m_buffers.size() && m_buffers[index].holders > 0) --m_buffers[index].holders;
}

std::uint64_t VideoFramePool::publishedCount() const {
    std::lock_guard lock(m_mutex);
    return m_published;
}

std::size_t VideoFramePool::bufferCount() const {
    std::lock_guard lock(m_mutex);
    return m_buffers.size();
}

std::size_t VideoFramePool::lentCount() const {
    std::lock_guard lock(m_mutex);
    return m_lent;
}

std::size_t VideoFramePool::mostLentAtOnce() const {
    std::lock_guard lock(m_mutex);
    return m_mostLent;
}

}  // namespace zentrova
