#include "playback/DisplayTimeline.h"

#include <algorithm>

namespace zentrova {
namespace {

// A picture shown this soon after a move was decoded before it: the first
// picture from the new place needs longer than that to be decoded.
constexpr double kStalePictureMs = 50;
// While a player has no new picture it shows its last one again now and
// then, a few slots apart; the pictures from the new place come one slot
// after the other. The first picture followed by this many in a row, each
// within kQuickInSlots of the one before, is the first from the new place.
constexpr int kPicturesInARow = 3;
constexpr double kQuickInSlots = 1.5;

}  // namespace

void DisplayTimeline::moved(double wallMs, double targetMs, double rate) {
    ++m_move;
    m_valid = rate > 0;
    m_moveWallMs = wallMs;
    m_targetMs = targetMs;
    m_rate = rate;
    m_counted = 0;
    m_playedOnFromTarget = false;
    m_timeKnown = false;
    m_heldBeforeLastMs = 0;
    m_lastHoldStartMs = 0;
    m_lastHoldMs = 0;
}

void DisplayTimeline::playedOnFrom(double wallMs, double targetMs, double rate) {
    moved(wallMs, targetMs, rate);
    m_playedOnFromTarget = true;
    m_timeKnown = m_valid;
}

void DisplayTimeline::invalidate() {
    ++m_move;
    m_valid = false;
    m_timeKnown = false;
}

void DisplayTimeline::heldFor(double wallMs, double holdMs) {
    const bool timeKnown = m_timeKnown && m_counted > 0;
    invalidate();
    if (!timeKnown) return;
    m_timeKnown = true;
    m_heldBeforeLastMs += m_lastHoldMs;
    m_lastHoldStartMs = wallMs;
    m_lastHoldMs = std::max(holdMs, 0.0);
}

void DisplayTimeline::displayed(double wallMs) {
    if (!m_valid || m_counted >= kPicturesUsed) return;
    if (!m_playedOnFromTarget && wallMs < m_moveWallMs + kStalePictureMs) return;
    m_shownMs[static_cast<std::size_t>(m_counted++)] = wallMs;
}

double DisplayTimeline::shown(int index) const { return m_shownMs[static_cast<std::size_t>(index)]; }

int DisplayTimeline::firstNewPicture(double slotMs) const {
    for (int first = 0; first + kPicturesInARow < m_counted; ++first) {
        bool inARow = true;
        for (int i = first + 1; i <= first + kPicturesInARow && inARow; ++i) {
            inARow = shown(i) - shown(i - 1) <= kQuickInSlots * slotMs;
        }
        if (inARow) return first;
    }
    return -1;
}

std::optional<DisplayTimeline::Anchor> DisplayTimeline::anchor(double frameIntervalMs) const {
    if (!m_valid) return std::nullopt;
    return anchorFrom(frameIntervalMs, kPicturesNeeded);
}

std::optional<double> DisplayTimeline::mediaMsAt(double wallMs, double frameIntervalMs) const {
    if (!m_timeKnown || m_counted == 0) return std::nullopt;
    const double knownSinceMs = std::max(shown(0), m_lastHoldStartMs + m_lastHoldMs);
    if (wallMs > knownSinceMs + kMediaTimeKnownForMs) return std::nullopt;
    const auto known = anchorFrom(frameIntervalMs, 1);
    if (!known) return std::nullopt;
    const double heldMs = m_heldBeforeLastMs + std::clamp(wallMs - m_lastHoldStartMs, 0.0, m_lastHoldMs);
    return (wallMs - heldMs - known->wallMsAtMediaZero) * m_rate;
}

std::optional<DisplayTimeline::Anchor> DisplayTimeline::anchorFrom(double frameIntervalMs, int needed) const {
    if (m_counted < needed || !(frameIntervalMs > 0)) return std::nullopt;
    const double slotMs = frameIntervalMs / m_rate;
    const int first = m_playedOnFromTarget ? 0 : firstNewPicture(slotMs);
    if (first < 0 || m_counted - first < needed) return std::nullopt;
    double earliest = shown(first);
    for (int i = first + 1; i < m_counted; ++i) earliest = std::min(earliest, shown(i) - (i - first) * slotMs);
    const double slotsBeforeFirst = m_playedOnFromTarget ? 1 : 0;
    return Anchor{m_move, earliest - m_targetMs / m_rate - slotsBeforeFirst * slotMs};
}

}  // namespace zentrova
