#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zentrova {

// When a player shows its pictures after it was last moved, reduced to one
// number: the moment (on the caller's steady clock, in ms) at which it
// would have shown media time 0 had it always played at its rate. Two
// players moved to the same or different times compare by that moment.
// Late and dropped pictures only ever make a picture look later than its
// slot, so the earliest slot seen is kept: it is the closest to the truth.
// The old picture shown again while the new ones are decoded is left out.
class DisplayTimeline {
public:
    struct Anchor {
        std::uint64_t move = 0;  // which move it belongs to
        double wallMsAtMediaZero = 0;
    };

    // Pictures shown before the anchor is given.
    static constexpr int kPicturesNeeded = 8;

    // The player was sent to targetMs at wallMs, to play at rate.
    void moved(double wallMs, double targetMs, double rate);
    // The player, paused on the picture of targetMs, played on, and the
    // picture after it is the one about to be given: no old pictures to
    // leave out.
    void playedOnFrom(double wallMs, double targetMs, double rate);
    // Pictures shown from now on tell nothing until the next move (a pause
    // or a change of rate nobody followed with a move).
    void invalidate();
    // The player waits holdMs from wallMs and plays on: its pictures no
    // longer fit the slots of those before, but its media time, which
    // stands still while it waits, is still known.
    void heldFor(double wallMs, double holdMs);
    void displayed(double wallMs);

    // With a picture every frameIntervalMs of media time (known only once
    // the file was read, often after the move).
    std::optional<Anchor> anchor(double frameIntervalMs) const;
    std::uint64_t move() const { return m_move; }

    // The media time shown at wallMs, for a player played on from its
    // target's picture, from its first picture on and for
    // kMediaTimeKnownForMs after it or after its last wait: the player's
    // own time is read only a few times a second and lags that long.
    std::optional<double> mediaMsAt(double wallMs, double frameIntervalMs) const;
    static constexpr double kMediaTimeKnownForMs = 1000;

    // Enough pictures to find a punctual one after the old picture was
    // shown again a few times; later ones add nothing.
    static constexpr int kPicturesUsed = 40;

private:
    // When media time 0 would have been shown, from `needed` pictures on.
    std::optional<Anchor> anchorFrom(double frameIntervalMs, int needed) const;
    // When the picture at index was shown.
    double shown(int index) const;
    // Index of the first picture from the new place, or -1.
    int firstNewPicture(double slotMs) const;

    std::uint64_t m_move = 0;
    bool m_valid = false;
    double m_moveWallMs = 0;
    double m_targetMs = 0;
    double m_rate = 1;
    // Played on from the paused picture of the target: every picture shown
    // is a new one, the first of them one frame after the target.
    bool m_playedOnFromTarget = false;
    bool m_timeKnown = false;
    double m_heldBeforeLastMs = 0;
    double m_lastHoldStartMs = 0;
    double m_lastHoldMs = 0;
    std::array<double, kPicturesUsed> m_shownMs{};
    int m_counted = 0;
};

}  // namespace zentrova
