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
}

void DisplayTimeline::playedOnFrom(double wallMs, double targetMs, double rate) {
    moved(wallMs, targetMs, rate);
    m_playedOnFromTarget = true;
}

void DisplayTimeline::invalidate() {
    ++m_move;
    m_valid = false;
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
    if (!m_valid || m_counted < kPicturesNeeded || !(frameIntervalMs > 0)) return std::nullopt;
    const double slotMs = frameIntervalMs / m_rate;
    const int first = m_playedOnFromTarget ? 0 : firstNewPicture(slotMs);
    if (first < 0 || m_counted - first < kPicturesNeeded) return std::nullopt;
    double earliest = shown(first);
    for (int i = first + 1; i < m_counted; ++i) earliest = std::min(earliest, shown(i) - (i - first) * slotMs);
    const double slotsBeforeFirst = m_playedOnFromTarget ? 1 : 0;
    return Anchor{m_move, earliest - m_targetMs / m_rate - slotsBeforeFirst * slotMs};
}

}  // namespace zentrova
