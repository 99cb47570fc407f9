#include "check/ClockFix.h"

#include "card/TimeSetFile.h"

#include <filesystem>

namespace zentrova {

bool ClockFix::isOffered(const CardCheckReport& report) { return report.complete && report.clock.clockOff(); }

std::optional<std::string> ClockFix::textAt(std::chrono::system_clock::time_point instant,
                                            std::optional<int> utcOffsetMinutes) {
    if (!utcOffsetMinutes) {
        return TimeSetFile::timeSetText(TimeSetFile::localDateOf(instant), TimeSetFile::localTimeOf(instant));
    }
    using namespace std::chrono;
    const std::int64_t local = duration_cast<seconds>(instant.time_since_epoch()).count() + *utcOffsetMinutes * 60;
    const sys_days day = floor<days>(sys_seconds(seconds(local)));
    const year_month_day date(day);
    const std::int64_t inDay = local - duration_cast<seconds>(day.time_since_epoch()).count();
    return TimeSetFile::timeSetText(
        LocalDate{int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))},
        LocalTime{int(inDay / 3600), int(inDay / 60 % 60), int(inDay % 60)});
}

std::optional<int> ClockFix::cardOffsetMinutes(const CardCheckReport& report) {
    const auto zone = report.settings.timeZone();
    return zone ? zone->utcOffsetMinutes() : std::nullopt;
}

std::string ClockFix::filePath(const CardCheckReport& report) {
    namespace fs = std::filesystem;
    const fs::path folder =
        report.settings.path.empty() ? fs::path(report.directory) : fs::path(report.settings.path).parent_path();
    return (folder / kFileName).string();
}

}  // namespace zentrova
