#include "check/CivilSeconds.h"

#include "recordings/ORVMedia.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace zentrova {
namespace {

struct Fields {
    int year, month, day, hour, minute, second;
};

Fields fieldsOf(std::int64_t seconds) {
    using namespace std::chrono;
    const sys_seconds instant{std::chrono::seconds{seconds}};
    const sys_days day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss<std::chrono::seconds> clock{instant - day};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count())};
}

}  // namespace

std::int64_t CivilSeconds::of(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    // Day 0 or month 13 would not form a date; the file names never hold
    // them, and hour 24 or minute 60 (which they may) simply carry over.
    const sys_days date{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                        std::chrono::day{static_cast<unsigned>(day)}};
    return date.time_since_epoch().count() * 86400LL + hour * 3600LL + minute * 60LL + second;
}

std::optional<std::int64_t> CivilSeconds::ofMediaName(const ORVMedia& media) {
    if (media.year() < 1 || media.month() < 1 || media.month() > 12 || media.day() < 1) return std::nullopt;
    return of(media.year(), media.month(), media.day(), media.hour(), media.minute(), media.second());
}

std::string CivilSeconds::dateText(std::int64_t seconds) {
    const Fields f = fieldsOf(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", f.year, f.month, f.day);
    return text;
}

std::string CivilSeconds::timeText(std::int64_t seconds) {
    const Fields f = fieldsOf(seconds);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.hour, f.minute, f.second);
    return text;
}

std::string CivilSeconds::dateTimeText(std::int64_t seconds) { return dateText(seconds) + " " + timeText(seconds); }

std::string CivilSeconds::isoUtcText(std::int64_t milliseconds) {
    const std::int64_t seconds = milliseconds >= 0 ? milliseconds / 1000 : -((-milliseconds + 999) / 1000);
    const int rest = static_cast<int>(milliseconds - seconds * 1000);
    std::string text = dateText(seconds) + "T" + timeText(seconds);
    if (rest != 0) {
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%03d", rest);
        text += fraction;
    }
    return text + "Z";
}

std::string CivilSeconds::durationText(double seconds) {
    const auto whole = static_cast<long long>(std::llround(std::fabs(seconds)));
    char text[48];
    if (whole < 60) {
        std::snprintf(text, sizeof text, "%lld s", whole);
    } else if (whole < 3600) {
        std::snprintf(text, sizeof text, "%lld min %02lld s", whole / 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld h %02lld min", whole / 3600, (whole / 60) % 60);
    }
    return text;
}

}  // namespace zentrova
