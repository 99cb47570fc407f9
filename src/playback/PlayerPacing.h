#pragma once

#include "playback/DelayedSteps.h"
#include "playback/DisplayTimeline.h"
#include "playback/PausedMoveWatch.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

namespace zentrova {

// The pace of one player's pictures, apart from the library that decodes
// them: the timeline of the pictures shown since the last move, waits that
// let another player catch up, and moves made while playing, which pause
// the player until the new place's picture is shown. Two paired players
// moved together are let go together. Main thread, except the two picture
// calls, which the decoder's thread makes.
class PlayerPacing {
public:
    // What pacing does to the player underneath.
    class Output {
    public:
        virtual ~Output() = default;
        virtual void setOutputPaused(bool paused) = 0;
        virtual void seekOutputTo(std::int64_t milliseconds) = 0;
        virtual double outputRate() const = 0;
    };
    // The steady clock both players' pictures are compared on, in ms.
    using Clock = std::function<double()>;

    // Longest a move keeps a player paused, whatever it shows.
    static constexpr int kSettleLimitMs = 1000;

    PlayerPacing(Output& output, DelayedSteps& steps, Clock clock);
    ~PlayerPacing();
    PlayerPacing(const PlayerPacing&) = delete;
    PlayerPacing& operator=(const PlayerPacing&) = delete;

    // Each names the other as its partner.
    static void pair(PlayerPacing& first, PlayerPacing& second);

    // A wait: paused for its length, then playing on, without a notice
    // (the caller makes sure the player plays). The pause and the play it
    // causes are swallowed; a move or a pause ends it.
    void holdFor(int milliseconds);
    bool isHolding() const { return m_holding; }
    // Whether a play or pause notice of the output belongs to a wait.
    bool swallowHoldNotice();
    // Whatever is left of a wait's notices, the next pause's own must be seen.
    void countOwnNoticesAgain() { m_holdNoticesToSwallow = 0; }
    // Something else takes over from a wait: its notices count again.
    void dropHold();

    // The player was sent to targetMs: a wait under way belongs to the
    // place left, and the pictures from now on are counted from there.
    void noteMove(std::int64_t targetMs);
    // The pictures from now on tell nothing until the next move.
    void noteUnfollowable();

    // A move while the output plays with pictures (or waits) can settle;
    // one settling already takes a new target.
    bool canSettle(bool outputPlaying, bool hasPictures) const;
    void settleMoveTo(std::int64_t targetMs);
    bool isSettling() const { return m_settling; }
    std::int64_t settleTargetMs() const { return m_settleTargetMs; }
    // Paused while settling: the move is kept, only not played on.
    void keepMoveThroughPause();
    // Played on from the settling move at once (the next move cannot settle).
    void letGoOfSettledMove();
    // A new file or a stop: no wait and no move are left.
    void dropAll();
    // News of the settling pictures, handed to the main thread.
    void settlingNews(PausedMoveWatch::News news);

    // On the decoder's thread, for each picture shown at shownMs: true
    // when a settling move wants the picture's digest.
    bool pictureShown(double shownMs);
    // The digest of such a picture; news to hand to settlingNews() on the
    // main thread, if any.
    PausedMoveWatch::News settlingPictureShown(std::uint64_t digest, double shownMs);

    // When the pictures since the last move would have shown media time 0.
    std::optional<DisplayTimeline::Anchor> displayAnchor(double frameIntervalMs) const;
    // Right after a settled move, where the pictures say it is.
    std::optional<double> shownMediaMs(double frameIntervalMs) const;

private:
    void endHold();
    void sendSettlingSeek();
    PausedMoveWatch::Step settleStep() const;
    void startSettleLimit();
    void stopSettleLimit() { ++m_settleLimitRun; }
    void settleReached();
    void settleLimitReached();
    bool hasSettled() const { return m_settling && m_settled; }
    void dropSettlingMove();

    Output& m_output;
    DelayedSteps& m_steps;
    Clock m_clock;
    PlayerPacing* m_partner = nullptr;

    bool m_holding = false;
    int m_holdNoticesToSwallow = 0;
    std::uint64_t m_holdCount = 0;

    bool m_settling = false;
    bool m_settled = false;
    std::int64_t m_settleTargetMs = 0;
    std::uint64_t m_settleLimitRun = 0;

    // Shared with the decoder's thread.
    mutable std::mutex m_timelineMutex;
    DisplayTimeline m_timeline;
    PausedMoveWatch m_settleWatch;
    double m_playedOnFromMs = 0;
    double m_playedOnRate = 1;
};

}  // namespace zentrova
