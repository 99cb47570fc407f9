#include "playback/VLCTime.h"

#include <cstdio>

namespace zentrova {

std::string VLCTime::stringValue() const {
    const bool negative = m_milliseconds < 0;
    const std::int64_t seconds = (negative ? -m_milliseconds : m_milliseconds) / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "%s%02lld:%02lld", negative ? "-" : "", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace zentrova
