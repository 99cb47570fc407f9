#pragma once

#include <cstddef>

namespace zentrova {

// How many picture buffers a decoder may hold while its pictures are being
// shown. libVLC decodes ahead until its pool of some 28 pictures runs out,
// 3 MB each at 1080p, although a few are enough to show every picture in
// time. While pictures come, a decoder at the limit waits for one to come
// back; one that waited in vain needs more for its stream (more pictures
// to predict from), and the limit grows. While nothing is shown (paused,
// starting, after a move) nothing waits, so that nothing can hang.
class DecodeAheadLimit {
public:
    // The pictures predicted from and those queued for showing: an H.264
    // stream of I- and P-pictures, as cameras write, was seen to need 6 at
    // 1x and 8 at 2x, one with B-pictures 10. Each step up costs one wait
    // in vain; none of them cost a picture shown.
    static constexpr std::size_t kInitialLimit = 6;
    static constexpr std::size_t kGrowth = 2;
    // Within this of the last picture shown, pictures are being shown.
    static constexpr double kShowingWithinMs = 200.0;
    // Longer than a picture lasts at the slowest rate cameras record.
    static constexpr int kWaitMs = 80;

    explicit DecodeAheadLimit(std::size_t largest = 64) : m_largest(largest) {}

    // Whether a decoder holding `held` buffers waits before it gets one more.
    bool shouldWait(std::size_t held, double nowMs) const;
    // Whether a waiting decoder may go on.
    bool mayTakeOneMore(std::size_t held) const { return held < m_limit; }
    void pictureShown(double nowMs) { m_lastShownMs = nowMs; }
    void waitedInVain();
    std::size_t limit() const { return m_limit; }

private:
    std::size_t m_largest;
    std::size_t m_limit = kInitialLimit;
    double m_lastShownMs = -1.0;
};

}  // namespace zentrova
