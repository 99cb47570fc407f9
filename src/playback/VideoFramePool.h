#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace zentrova {

// Picture buffers shared by the decoder, which fills them, and the painter,
// which shows the latest complete one: pictures are never copied and never
// written while somebody looks at them. A buffer stays valid as long as a
// Frame of it is held, also after the decoder has let go of the pool. The
// decoder may hold many buffers at once (a decoder keeps the pictures it
// predicts the next ones from) and gives each back when done with it.
class VideoFramePool : public std::enable_shared_from_this<VideoFramePool> {
public:
    // Argb: one plane of 32-bit pixels (B, G, R, A in memory). I420: a
    // plane of luma and two of quarter-size chroma. Nv12: luma, and one
    // plane of interleaved chroma pairs.
    enum class Format { Argb, I420, Nv12 };

    struct Plane {
        std::size_t offset = 0;  // from the start of the buffer
        int bytesPerLine = 0;
        int lines = 0;
    };

    // Every plane and every line starts on a 64-byte boundary.
    struct Layout {
        Format format = Format::Argb;
        // The visible picture, at the top left of the planes.
        int width = 0;
        int height = 0;
        // The size the picture is shown at: its pixels need not be square.
        int displayWidth = 0;
        int displayHeight = 0;
        // Luma from 0 to 255 rather than from 16 to 235.
        bool fullRange = false;
        int planeCount = 0;
        std::array<Plane, 3> planes{};
        std::size_t bytes = 0;

        static Layout argb(int width, int height);
        // Planes of bufferWidth by bufferLines, as the decoder asks for
        // them, holding a visible picture of width by height.
        static Layout yuv(Format format, int bufferWidth, int bufferLines, int width, int height);
        bool isValid() const { return planeCount > 0; }
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
        const unsigned char* plane(int index) const;
        const Layout& layout() const;
        // Counts the pool's published pictures from 1.
        std::uint64_t number() const { return m_number; }
        // The same picture of the same pool.
        bool isSamePictureAs(const Frame& other) const;
        // One more hold on the same picture.
        Frame share() const;
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
    // No picture is larger than 8K by 8K.
    static constexpr int kLargestSide = 8192;

    // Null for an invalid or oversized layout, or when memory runs out.
    static std::shared_ptr<VideoFramePool> create(const Layout& layout,
                                                  std::size_t initialBuffers = kInitialBuffers);

    const Layout& layout() const { return m_layout; }

    // Writer side. A buffer lent to the writer that is neither the latest
    // picture, held, nor lent already; one more is made when all are busy.
    // Null only when memory runs out.
    unsigned char* beginWriting();
    // A lent buffer holds a complete picture: the latest. The writer may
    // keep it lent (it is never written again until given back), or have
    // given it back just before.
    void publish(const unsigned char* buffer);
    // The writer is done with a lent buffer. Of a writer that never had
    // two at once (it copies, and shows after giving back), the last one
    // given back unshown is kept from it until another is shown.
    void giveBack(const unsigned char* buffer);

    // Painter side: the latest picture, held; empty before the first.
    Frame latest();
    std::uint64_t publishedCount() const;
    std::size_t bufferCount() const;
    // The buffers the writer has now, and the most it had at once.
    std::size_t lentCount() const;
    std::size_t mostLentAtOnce() const;

private:
    struct FreeDeleter {
        void operator()(unsigned char* pixels) const { std::free(pixels); }
    };
    struct Buffer {
        std::unique_ptr<unsigned char, FreeDeleter> pixels;
        int holders = 0;
        bool lent = false;
        // Published since it was lent last.
        bool shown = false;
    };
    static constexpr std::size_t kNoBuffer = static_cast<std::size_t>(-1);

    explicit VideoFramePool(const Layout& layout) : m_layout(layout) {}
    bool addBuffer();
    std::size_t indexOf(const unsigned char* pixels) const;
    void hold(std::size_t index);
    void releaseHold(std::size_t index);

    const Layout m_layout;
    mutable std::mutex m_mutex;
    std::vector<Buffer> m_buffers;
    std::size_t m_lent = 0;
    std::size_t m_mostLent = 0;
    std::size_t m_latest = kNoBuffer;
    std::size_t m_givenBackUnshown = kNoBuffer;
    std::uint64_t m_published = 0;
};

}  // namespace zentrova
