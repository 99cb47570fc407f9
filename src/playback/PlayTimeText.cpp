#include "playback/PlayTimeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zentrova {

PlayTimeText::Texts PlayTimeText::forPosition(double position, std::int64_t lengthMs) {
    if (lengthMs <= 0) return {kUnknown, kUnknown};
    const double held = std::isfinite(position) ? std::clamp(position, 0.0, 1.0) : 0.0;
    const auto elapsedMs = static_cast<std::int64_t>(held * static_cast<double>(lengthMs));
    const bool withHours = lengthMs >= 3600 * 1000;
    return {clock(elapsedMs, withHours), clock(lengthMs, withHours)};
}

std::string PlayTimeText::clock(std::int64_t milliseconds, bool withHours) {
    const std::int64_t seconds = std::max<std::int64_t>(milliseconds, 0) / 1000;
    char text[32];
    if (withHours || seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    }
    return text;
}

}  // namespace zentrova
