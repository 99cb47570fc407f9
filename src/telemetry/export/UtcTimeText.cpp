#include "telemetry/export/UtcTimeText.h"

#include <chrono>

namespace zentrova {
namespace {

bool isRealTime(const SYSTEMTIME& time) {
    using namespace std::chrono;
    const year_month_day date{year{time.wYear}, month{time.wMonth}, day{time.wDay}};
    return time.wYear >= 1 && time.wYear <= 9999 && date.ok() && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60 && time.wMilliseconds < 1000;
}

void appendDigits(std::string& out, unsigned value, int width) {
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<std::size_t>(width));
}

}  // namespace

std::optional<std::int64_t> utcMilliseconds(const SYSTEMTIME& time) {
    if (!isRealTime(time)) return std::nullopt;
    using namespace std::chrono;
    const sys_days date{year{time.wYear} / month{time.wMonth} / day{time.wDay}};
    const auto instant = date + hours{time.wHour} + minutes{time.wMinute} + seconds{time.wSecond} +
                         milliseconds{time.wMilliseconds};
    return duration_cast<milliseconds>(instant.time_since_epoch()).count();
}

std::optional<std::string> utcTimeText(const SYSTEMTIME& time) {
    if (!isRealTime(time)) return std::nullopt;
    std::string text;
    text.reserve(24);
    appendDigits(text, time.wYear, 4);
    text += '-';
    appendDigits(text, time.wMonth, 2);
    text += '-';
    appendDigits(text, time.wDay, 2);
    text += 'T';
    appendDigits(text, time.wHour, 2);
    text += ':';
    appendDigits(text, time.wMinute, 2);
    text += ':';
    appendDigits(text, time.wSecond, 2);
    if (time.wMilliseconds != 0) {
        text += '.';
        appendDigits(text, time.wMilliseconds, 3);
    }
    text += 'Z';
    return text;
}

}  // namespace zentrova
