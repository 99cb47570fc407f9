#include "playback/FastPlaySeek.h"

#include <algorithm>

namespace zentrova {
namespace {

constexpr std::int64_t kKeyPictureEveryMs = 1000;

}  // namespace

std::int64_t FastPlaySeek::landingMs(std::int64_t targetMs, std::int64_t lengthMs, double rate) {
    const std::int64_t target = std::max<std::int64_t>(targetMs, 0);
    if (!(rate > kFastestExactRate) || target >= lengthMs) return target;
    const std::int64_t nearest = (target + kKeyPictureEveryMs / 2) / kKeyPictureEveryMs * kKeyPictureEveryMs;
    if (nearest < lengthMs) return nearest;
    return target / kKeyPictureEveryMs * kKeyPictureEveryMs;
}

}  // namespace zentrova
