#include "playback/PausedMoveWatch.h"

#include <cstring>

namespace zentrova {

void PausedMoveWatch::pauseAsked() {
    m_step = Step::Pausing;
    m_seenOne = false;
}

void PausedMoveWatch::seekSent() {
    // Moved again before the pause held: the picture to tell apart is
    // found first.
    if (m_step == Step::Idle || m_step == Step::Pausing) return;
    m_step = Step::Seeking;
}

void PausedMoveWatch::letGo() { m_step = m_step == Step::Settled ? Step::LetGo : Step::Idle; }

PausedMoveWatch::News PausedMoveWatch::displayed(std::uint64_t pictureDigest) {
    switch (m_step) {
    case Step::Pausing:
        if (m_seenOne && pictureDigest == m_lastDigest) {
            m_pausedDigest = pictureDigest;
            m_step = Step::PauseHeld;
            return News::PauseHeld;
        }
        m_seenOne = true;
        m_lastDigest = pictureDigest;
        return News::Nothing;
    case Step::Seeking:
        if (pictureDigest == m_pausedDigest) return News::Nothing;
        m_newDigest = pictureDigest;
        m_step = Step::Settled;
        return News::NewPictureShown;
    case Step::LetGo:
        if (pictureDigest == m_newDigest) return News::Nothing;
        m_step = Step::Idle;
        return News::PlayingOn;
    default: return News::Nothing;
    }
}

std::uint64_t PausedMoveWatch::digestOf(const unsigned char* pixels, int bytesPerLine, int rowBytes, int height) {
    // FNV-1a over 64-bit words: the lines are 64-byte aligned.
    std::uint64_t digest = 1469598103934665603ULL;
    if (!pixels || rowBytes <= 0) return digest;
    for (int y = 0; y < height; y += 8) {
        const unsigned char* line = pixels + static_cast<std::ptrdiff_t>(y) * bytesPerLine;
        int x = 0;
        for (; x + 8 <= rowBytes; x += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, line + x, sizeof word);
            digest = (digest ^ word) * 1099511628211ULL;
        }
        for (; x < rowBytes; ++x) digest = (digest ^ line[x]) * 1099511628211ULL;
    }
    return digest;
}

}  // namespace zentrova
