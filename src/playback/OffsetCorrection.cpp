#include "playback/OffsetCorrection.h"

#include <cmath>

namespace zentrova {

std::optional<OffsetCorrection> OffsetCorrection::between(double firstAtZeroMs, double secondAtZeroMs, double rate) {
    // Positive: the first shows every picture earlier, so it is ahead.
    const double firstAheadMs = secondAtZeroMs - firstAtZeroMs;
    if (!(rate > 0) || !std::isfinite(firstAheadMs)) return std::nullopt;
    const double apartMs = std::abs(firstAheadMs);
    if (apartMs * rate < kToleranceMs || apartMs > kLargestOffsetMs) return std::nullopt;
    return OffsetCorrection{firstAheadMs > 0, apartMs};
}

}  // namespace zentrova
