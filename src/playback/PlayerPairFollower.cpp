#include "playback/PlayerPairFollower.h"

#include "common/Log.h"
#include "playback/FollowablePlayer.h"
#include "playback/OffsetCorrection.h"
#include "playback/PlayerPacing.h"

#include <cmath>
#include <cstdio>

namespace zentrova {

PlayerPairFollower::PlayerPairFollower(FollowablePlayer& first, FollowablePlayer& second, DelayedSteps& steps)
    : m_first(first), m_second(second) {
    if (first.pacing() && second.pacing()) PlayerPacing::pair(*first.pacing(), *second.pacing());
    m_looking = steps.every(kLookEveryMs, [this] { look(); });
}

void PlayerPairFollower::look() {
    if (!m_first.isPlaying() || !m_second.isPlaying()) return;
    if (m_first.isHolding() || m_second.isHolding()) return;
    const auto firstAnchor = m_first.displayAnchor();
    const auto secondAnchor = m_second.displayAnchor();
    if (!firstAnchor || !secondAnchor) return;
    const std::pair moves{firstAnchor->move, secondAnchor->move};
    if (moves == m_handled) return;
    m_handled = moves;
    const double rate = m_first.rate();
    if (rate > kFastestFollowedRate) return;
    const auto correction =
        OffsetCorrection::between(firstAnchor->wallMsAtMediaZero, secondAnchor->wallMsAtMediaZero, rate);
    if (!correction) return;
    char line[96];
    std::snprintf(line, sizeof line, "%s player waits %.0f ms for the other", correction->firstWaits ? "first" : "second",
                  correction->waitMs);
    logLine(line);
    (correction->firstWaits ? m_first : m_second).holdFor(static_cast<int>(std::lround(correction->waitMs)));
}

}  // namespace zentrova
