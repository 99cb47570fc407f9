#pragma once

#include <cstdint>

namespace zentrova {

// A player moved while it plays is paused first, sent to the new place once
// the pause holds, and let go when the new place's picture is shown: two
// players let go together then play on in step. The pictures it shows are
// all that tell how far it got. A pause holds once it shows the same
// picture twice (paused, it shows its picture again now and then); the new
// place's picture is the first one unlike the one it was paused on. Let
// go, it shows that picture again before the next: the first one unlike it
// is the first played on.
class PausedMoveWatch {
public:
    enum class Step { Idle, Pausing, PauseHeld, Seeking, Settled, LetGo };
    enum class News { Nothing, PauseHeld, NewPictureShown, PlayingOn };

    void pauseAsked();
    // The player was sent to its new place (again, when moved once more).
    void seekSent();
    // Let go to play on; without the new place's picture, nothing more
    // can be told.
    void letGo();
    News displayed(std::uint64_t pictureDigest);
    void reset() { *this = PausedMoveWatch(); }

    Step step() const { return m_step; }
    bool isActive() const { return m_step != Step::Idle; }

    // Enough of a picture to tell it from another: every eighth line.
    static std::uint64_t digestOf(const unsigned char* pixels, int bytesPerLine, int rowBytes, int height);

private:
    Step m_step = Step::Idle;
    bool m_seenOne = false;
    std::uint64_t m_lastDigest = 0;
    std::uint64_t m_pausedDigest = 0;
    std::uint64_t m_newDigest = 0;
};

}  // namespace zentrova
