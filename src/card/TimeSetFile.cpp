#include "card/TimeSetFile.h"

#include <cstdio>
#include <ctime>
#include <mutex>

namespace zentrova {
namespace {

bool isValidDate(const LocalDate& d) {
    if (d.year < TimeSetFile::kEarliestYear || d.year > TimeSetFile::kLatestYear || d.month < 1 || d.month > 12 || d.day < 1) return false;
    const std::chrono::year_month_day day{std::chrono::year{d.year}, std::chrono::month{unsigned(d.month)},
                                          std::chrono::day{unsigned(d.day)}};
    return day.ok();
}

bool isValidTime(const LocalTime& t) {
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// std::localtime shares one result buffer across the process; the lock
// keeps our own callers from overwriting each other's result.
std::tm localCalendarOf(std::chrono::system_clock::time_point instant) {
    static std::mutex lock;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(instant);
    std::lock_guard<std::mutex> guard(lock);
    const std::tm* local = std::localtime(&seconds);
    return local ? *local : std::tm{};
}

}  // namespace

std::optional<std::string> TimeSetFile::timeSetText(const LocalDate& date, const LocalTime& time) {
    if (!isValidDate(date) || !isValidTime(time)) return std::nullopt;
    // Room for any int, although the checks above leave exactly kSize.
    char text[80];
    const int length = std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", date.year, date.month,
                                     date.day, time.hour, time.minute, time.second);
    if (length != static_cast<int>(kSize)) return std::nullopt;
    return std::string(text, kSize);
}

LocalDate TimeSetFile::localDateOf(std::chrono::system_clock::time_point instant) {
    const std::tm local = localCalendarOf(instant);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

LocalTime TimeSetFile::localTimeOf(std::chrono::system_clock::time_point instant) {
    const std::tm local = localCalendarOf(instant);
    // A leap second shows as the last second of its minute.
    return {local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec};
}

FileSaveResult TimeSetFile::doWriteConfigFile(const std::string& path, const std::string& text,
                                              AtomicFileWriter& writer) {
    return saveFileWhole(writer, path, text);
}

}  // namespace zentrova
