#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace zentrova {

// Picture buffers shared by the decoder's thread, which fills one, and the
// painter, which shows the latest complete one: frames are never copied and
// never written while somebody looks at them. A buffer stays valid as long
// as a Frame of it is held, also after the decoder has let go of the pool.
// There is one writer, holding one buffer at a time.
class VideoFramePool : public std::enable_shared_from_this<VideoFramePool> {
public:
    // 32-bit pixels; every line starts on a 64-byte boundary.
    struct Layout {
        int width = 0;
        int height = 0;
        int bytesPerLine = 0;
    };

    // A held picture: its pixels stay unchanged until it is released.
    class Frame {
    public:
        Frame() = default;
        Frame(Frame&& other) noexcept;
        Frame& operator=(Frame&& other) noexcept;
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
        ~Frame() { release(); }

        explicit operator bool() const { return m_pool != nullptr; }
        const unsigned char* pixels() const { return m_pixels; }
        Layout layout() const;
        // Counts the pool's published pictures from 1.
        std::uint64_t number() const { return m_number; }
        void release();

    private:
        friend class VideoFramePool;
        Frame(std::shared_ptr<VideoFramePool> pool, std::size_t index, const unsigned char* pixels,
              std::uint64_t number);

        std::shared_ptr<VideoFramePool> m_pool;
        std::size_t m_index = 0;
        const unsigned char* m_pixels = nullptr;
        std::uint64_t m_number = 0;
    };

    static constexpr std::size_t kInitialBuffers = 3;

    // Null for an empty or oversized picture, or when memory runs out.
    static std::shared_ptr<VideoFramePool> create(int width, int height);

    const Layout& layout() const { return m_layout; }

    // Writer side. A buffer that is neither the latest picture nor held;
    // one more is made when all are busy. An earlier buffer still being
    // written is given up. Null only when memory runs out.
    unsigned char* beginWriting();
    // The buffer from beginWriting holds a complete picture: the latest.
    void publish(const unsigned char* buffer);

    // Painter side: the latest picture, held; empty before the first.
    Frame latest();
    std::uint64_t publishedCount() const;
    std::size_t bufferCount() const;

private:
    struct FreeDeleter {
        void operator()(unsigned char* pixels) const { std::free(pixels); }
    };
    struct Buffer {
        std::unique_ptr<unsigned char, FreeDeleter> pixels;
        int holders = 0;
    };
    static constexpr std::size_t kNoBuffer = static_cast<std::size_t>(-1);

    explicit VideoFramePool(Layout layout) : m_layout(layout) {}
    bool addBuffer();
    std::size_t indexOf(const unsigned char* pixels) const;
    void releaseHold(std::size_t index);

    const Layout m_layout;
    mutable std::mutex m_mutex;
    std::vector<Buffer> m_buffers;
    std::size_t m_writing = kNoBuffer;
    std::size_t m_latest = kNoBuffer;
    std::uint64_t m_published = 0;
};

}  // namespace zentrova
