#include "playback/PlayerPacing.h"

#include <utility>

namespace zentrova {

PlayerPacing::PlayerPacing(Output& output, DelayedSteps& steps, Clock clock)
    : m_output(output), m_steps(steps), m_clock(std::move(clock)) {}

PlayerPacing::~PlayerPacing() {
    if (m_partner) m_partner->m_partner = nullptr;
}

void PlayerPacing::pair(PlayerPacing& first, PlayerPacing& second) {
    first.m_partner = &second;
    second.m_partner = &first;
}

void PlayerPacing::holdFor(int milliseconds) {
    if (m_holding || milliseconds <= 0) return;
    // The pictures after it are not in the slots of those before.
    {
        std::lock_guard lock(m_timelineMutex);
        m_timeline.heldFor(m_clock(), milliseconds);
    }
    m_holding = true;
    m_holdNoticesToSwallow = 2;  // the pause and the play after it
    const std::uint64_t hold = ++m_holdCount;
    m_output.setOutputPaused(true);
    m_steps.after(milliseconds, [this, hold] {
        if (hold == m_holdCount) endHold();
    });
}

bool PlayerPacing::swallowHoldNotice() {
    if (m_holdNoticesToSwallow == 0) return false;
    --m_holdNoticesToSwallow;
    return true;
}

void PlayerPacing::endHold() {
    if (!m_holding) return;
    m_holding = false;
    ++m_holdCount;
    m_output.setOutputPaused(false);
}

void PlayerPacing::dropHold() {
    m_holding = false;
    m_holdNoticesToSwallow = 0;
    ++m_holdCount;
}

void PlayerPacing::noteMove(std::int64_t targetMs) {
    endHold();
    const double rate = m_output.outputRate();
    std::lock_guard lock(m_timelineMutex);
    m_timeline.moved(m_clock(), static_cast<double>(targetMs), rate);
}

void PlayerPacing::noteUnfollowable() {
    std::lock_guard lock(m_timelineMutex);
    m_timeline.invalidate();
}

bool PlayerPacing::canSettle(bool outputPlaying, bool hasPictures) const {
    if (m_settling) return true;
    // Without pictures nothing would tell when the new place is reached.
    return (m_holding || outputPlaying) && hasPictures;
}

void PlayerPacing::settleMoveTo(std::int64_t targetMs) {
    m_settleTargetMs = targetMs;
    startSettleLimit();
    if (m_settling) {
        // Moved again: once sent on, it is sent on again; before, the
        // pause has yet to hold and the seek then takes the new place.
        m_settled = false;
        const auto step = settleStep();
        if (step == PausedMoveWatch::Step::Seeking || step == PausedMoveWatch::Step::Settled) sendSettlingSeek();
        return;
    }
    m_settling = true;
    m_settled = false;
    // Until it plays on, its pictures tell nothing of where it is.
    noteUnfollowable();
    {
        std::lock_guard lock(m_timelineMutex);
        m_settleWatch.pauseAsked();
    }
    if (m_holding) {
        // Already paused: the wait's play notice is the one of the let-go.
        m_holding = false;
        ++m_holdCount;
        return;
    }
    m_holdNoticesToSwallow += 2;  // the pause and the play after it
    m_output.setOutputPaused(true);
}

void PlayerPacing::keepMoveThroughPause() {
    // Paused, it shows the new place all the same.
    const auto step = settleStep();
    if (step == PausedMoveWatch::Step::Pausing || step == PausedMoveWatch::Step::PauseHeld) sendSettlingSeek();
    dropSettlingMove();
    m_holdNoticesToSwallow = 0;
}

void PlayerPacing::dropAll() {
    dropHold();
    dropSettlingMove();
}

PausedMoveWatch::Step PlayerPacing::settleStep() const {
    std::lock_guard lock(m_timelineMutex);
    return m_settleWatch.step();
}

void PlayerPacing::sendSettlingSeek() {
    m_output.seekOutputTo(m_settleTargetMs);
    std::lock_guard lock(m_timelineMutex);
    m_settleWatch.seekSent();
}

void PlayerPacing::startSettleLimit() {
    const std::uint64_t run = ++m_settleLimitRun;
    m_steps.after(kSettleLimitMs, [this, run] {
        if (run == m_settleLimitRun) settleLimitReached();
    });
}

void PlayerPacing::settlingNews(PausedMoveWatch::News news) {
    if (!m_settling) return;
    const auto step = settleStep();
    // News of an earlier move may still arrive: the watch's step decides.
    if (news == PausedMoveWatch::News::PauseHeld && step == PausedMoveWatch::Step::PauseHeld) sendSettlingSeek();
    if (news == PausedMoveWatch::News::NewPictureShown && step == PausedMoveWatch::Step::Settled) settleReached();
}

void PlayerPacing::settleReached() {
    if (!m_settling) return;
    m_settled = true;
    PlayerPacing* partner = m_partner;
    // The partner lets both go once it shows its new place (or its limit).
    if (partner && partner->m_settling && !partner->m_settled) return;
    letGoOfSettledMove();
    if (partner && partner->hasSettled()) partner->letGoOfSettledMove();
}

// A player never stays paused for a move, whatever it or its partner show.
void PlayerPacing::settleLimitReached() {
    if (!m_settling) return;
    letGoOfSettledMove();
    if (m_partner && m_partner->hasSettled()) m_partner->letGoOfSettledMove();
}

void PlayerPacing::letGoOfSettledMove() {
    m_settling = false;
    m_settled = false;
    stopSettleLimit();
    {
        std::lock_guard lock(m_timelineMutex);
        m_settleWatch.letGo();
        m_playedOnFromMs = static_cast<double>(m_settleTargetMs);
        m_playedOnRate = m_output.outputRate();
    }
    m_output.setOutputPaused(false);
}

void PlayerPacing::dropSettlingMove() {
    const bool wasSettling = m_settling;
    m_settling = false;
    m_settled = false;
    stopSettleLimit();
    {
        std::lock_guard lock(m_timelineMutex);
        m_settleWatch.reset();
    }
    // A partner waiting for this one would wait for nothing.
    if (wasSettling && m_partner && m_partner->hasSettled()) m_partner->letGoOfSettledMove();
}

bool PlayerPacing::pictureShown(double shownMs) {
    std::lock_guard lock(m_timelineMutex);
    m_timeline.displayed(shownMs);
    return m_settleWatch.isActive();
}

PausedMoveWatch::News PlayerPacing::settlingPictureShown(std::uint64_t digest, double shownMs) {
    std::lock_guard lock(m_timelineMutex);
    const PausedMoveWatch::News news = m_settleWatch.displayed(digest);
    if (news != PausedMoveWatch::News::PlayingOn) return news;
    // Known for sure to be the picture after the target: the timeline
    // needs no guess at which pictures are old.
    m_timeline.playedOnFrom(shownMs, m_playedOnFromMs, m_playedOnRate);
    m_timeline.displayed(shownMs);
    return PausedMoveWatch::News::Nothing;
}

std::optional<DisplayTimeline::Anchor> PlayerPacing::displayAnchor(double frameIntervalMs) const {
    std::lock_guard lock(m_timelineMutex);
    return m_timeline.anchor(frameIntervalMs);
}

std::optional<double> PlayerPacing::shownMediaMs(double frameIntervalMs) const {
    const double now = m_clock();
    std::lock_guard lock(m_timelineMutex);
    return m_timeline.mediaMsAt(now, frameIntervalMs);
}

}  // namespace zentrova
