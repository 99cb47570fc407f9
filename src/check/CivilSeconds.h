#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

class ORVMedia;

// Calendar dates and times of a clock without a zone (the camera's, in its
// file names) as seconds since 1970-01-01 00:00:00 of that same clock, so
// that they can be subtracted.
class CivilSeconds {
public:
    static std::int64_t of(int year, int month, int day, int hour, int minute, int second);
    // The start in the file name; none when the name has no time.
    static std::optional<std::int64_t> ofMediaName(const ORVMedia& media);

    static std::string dateText(std::int64_t seconds);      // "2024-06-14"
    static std::string timeText(std::int64_t seconds);      // "09:30:00"
    static std::string dateTimeText(std::int64_t seconds);  // "2024-06-14 09:30:00"
    // "2024-06-14T07:30:00Z", with ".250" before the Z when there are milliseconds.
    static std::string isoUtcText(std::int64_t milliseconds);
    // A length of time for people: "45 s", "3 min 20 s", "2 h 05 min".
    static std::string durationText(double seconds);
};

}  // namespace zentrova
