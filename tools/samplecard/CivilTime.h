#pragma once

#include <cstdint>

namespace zentrova::samplecard {

// A calendar date and time of day, without a time zone of its own.
struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0, millisecond = 0;

    // Seconds since 1970-01-01 00:00:00 of the same zone (milliseconds dropped).
    std::int64_t secondsSinceEpoch() const;
    static CivilTime fromSecondsSinceEpoch(std::int64_t seconds, int millisecond = 0);
    // 0 Sunday to 6 Saturday.
    int dayOfWeek() const;
};

}  // namespace zentrova::samplecard
