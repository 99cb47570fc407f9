#include "playback/PlayerPairFollower.h"

#include "common/Log.h"
#include "playback/OffsetCorrection.h"
#include "playback/VLCVideoView.h"
#include "playback/VlcMediaPlayer.h"

#include <QTimer>

#include <cmath>
#include <cstdio>

namespace zentrova {

PlayerPairFollower::PlayerPairFollower(VlcMediaPlayer* first, VlcMediaPlayer* second, QObject* parent)
    : QObject(parent), m_first(first), m_second(second) {
    if (first && second) {
        first->pairWith(second);
        second->pairWith(first);
    }
    m_lookTimer = new QTimer(this);
    m_lookTimer->setInterval(kLookEveryMs);
    connect(m_lookTimer, &QTimer::timeout, this, &PlayerPairFollower::look);
    m_lookTimer->start();
}

void PlayerPairFollower::look() {
    if (!m_first || !m_second || !m_first->isPlaying() || !m_second->isPlaying()) return;
    if (m_first->isHolding() || m_second->isHolding()) return;
    const auto firstAnchor = m_first->displayAnchor();
    const auto secondAnchor = m_second->displayAnchor();
    if (!firstAnchor || !secondAnchor) return;
    const std::pair moves{firstAnchor->move, secondAnchor->move};
    if (moves == m_handled) return;
    m_handled = moves;
    const double rate = m_first->rate();
    if (rate > kFastestFollowedRate) return;
    const auto correction =
        OffsetCorrection::between(firstAnchor->wallMsAtMediaZero, secondAnchor->wallMsAtMediaZero, rate);
    if (!correction) return;
    char line[96];
    std::snprintf(line, sizeof line, "%s player waits %.0f ms for the other", correction->firstWaits ? "first" : "second",
                  correction->waitMs);
    logLine(line);
    (correction->firstWaits ? m_first : m_second)->holdFor(static_cast<int>(std::lround(correction->waitMs)));
}

}  // namespace zentrova
