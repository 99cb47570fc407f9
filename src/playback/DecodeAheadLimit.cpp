#include "playback/DecodeAheadLimit.h"

#include <algorithm>

namespace zentrova {

bool DecodeAheadLimit::shouldWait(std::size_t held, double nowMs) const {
    const bool showing = m_lastShownMs >= 0.0 && nowMs - m_lastShownMs <= kShowingWithinMs;
    return showing && !mayTakeOneMore(held);
}

void DecodeAheadLimit::waitedInVain() { m_limit = std::min(m_limit + kGrowth, std::max(m_largest, m_limit)); }

}  // namespace zentrova
