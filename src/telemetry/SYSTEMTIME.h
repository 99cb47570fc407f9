#pragma once

#include <cstdint>

namespace zentrova {

// Calendar time as the camera's firmware keeps it; wDayOfWeek is never filled in.
struct SYSTEMTIME {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;

    bool operator==(const SYSTEMTIME&) const = default;
};

static_assert(sizeof(SYSTEMTIME) == 16);

}  // namespace zentrova
