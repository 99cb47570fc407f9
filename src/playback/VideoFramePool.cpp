#include "playback/VideoFramePool.h"

#include <new>
#include <utility>

namespace zentrova {
namespace {

constexpr std::size_t kLineAlignment = 64;
// No picture is larger than 8K by 8K.
constexpr int kLargestSide = 8192;

}  // namespace

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

VideoFramePool::Layout VideoFramePool::Frame::layout() const { return m_pool ? m_pool->layout() : Layout{}; }

void VideoFramePool::Frame::release() {
    if (!m_pool) return;
    m_pool->releaseHold(m_index);
    m_pool.reset();
    m_pixels = nullptr;
    m_number = 0;
}

std::shared_ptr<VideoFramePool> VideoFramePool::create(int width, int height) {
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return nullptr;
    const std::size_t lineBytes = static_cast<std::size_t>(width) * 4;
    const std::size_t bytesPerLine = (lineBytes + kLineAlignment - 1) / kLineAlignment * kLineAlignment;
    std::shared_ptr<VideoFramePool> pool(
        new (std::nothrow) VideoFramePool(Layout{width, height, static_cast<int>(bytesPerLine)}));
    if (!pool) return nullptr;
    for (std::size_t i = 0; i < kInitialBuffers; ++i) {
        if (!pool->addBuffer()) return nullptr;
    }
    return pool;
}

bool VideoFramePool::addBuffer() {
    const std::size_t bytes = static_cast<std::size_t>(m_layout.bytesPerLine) * static_cast<std::size_t>(m_layout.height);
    auto* pixels = static_cast<unsigned char*>(std::aligned_alloc(kLineAlignment, bytes));
    if (!pixels) return false;
    m_buffers.push_back(Buffer{std::unique_ptr<unsigned char, FreeDeleter>(pixels), 0});
    return true;
}

unsigned char* VideoFramePool::beginWriting() {
    std::lock_guard lock(m_mutex);
    m_writing = kNoBuffer;
    for (std::size_t i = 0; i < m_buffers.size(); ++i) {
        if (i != m_latest && m_buffers[i].holders == 0) {
            m_writing = i;
            return m_buffers[i].pixels.get();
        }
    }
    if (!addBuffer()) return nullptr;
    m_writing = m_buffers.size() - 1;
    return m_buffers[m_writing].pixels.get();
}

std::size_t VideoFramePool::indexOf(const unsigned char* pixels) const {
    for (std::size_t i = 0; i < m_buffers.size(); ++i) {
        if (m_buffers[i].pixels.get() == pixels) return i;
    }
    return kNoBuffer;
}

void VideoFramePool::publish(const unsigned char* buffer) {
    std::lock_guard lock(m_mutex);
    // Only the buffer being written can become the picture shown.
    if (m_writing == kNoBuffer || indexOf(buffer) != m_writing) return;
    m_latest = m_writing;
    m_writing = kNoBuffer;
    ++m_published;
}

VideoFramePool::Frame VideoFramePool::latest() {
    std::lock_guard lock(m_mutex);
    if (m_latest == kNoBuffer) return Frame();
    Buffer& buffer = m_buffers[m_latest];
    ++buffer.holders;
    return Frame(shared_from_this(), m_latest, buffer.pixels.get(), m_published);
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

}  // namespace zentrova
