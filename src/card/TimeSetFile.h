#pragma once

#include "common/FileSave.h"

#include <chrono>
#include <optional>
#include <string>

namespace zentrova {

class AtomicFileWriter;

// A calendar day and a time of day as the computer's clock shows them.
struct LocalDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct LocalTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The camera's clock-setting file timeset.cfg: the 19 bytes
// "yyyy/MM/dd HH:mm:ss", no line end.
class TimeSetFile {
public:
    static constexpr std::size_t kSize = 19;
    // The years the camera's clock can be set to and its files still hold:
    // its drive log keeps the year as year - 1900 in one byte (up to 2155),
    // and recordings are listed by their names from 1970 on.
    static constexpr int kEarliestYear = 1970;
    static constexpr int kLatestYear = 2155;

    // None when a value lies outside its calendar range (the day must exist
    // in its month) or the year outside kEarliestYear to kLatestYear.
    static std::optional<std::string> timeSetText(const LocalDate& date, const LocalTime& time);

    // The date and the time of an instant in the computer's time zone.
    static LocalDate localDateOf(std::chrono::system_clock::time_point instant);
    static LocalTime localTimeOf(std::chrono::system_clock::time_point instant);

    // Makes the text the whole content of the file at path, creating it when
    // missing and cutting a longer one; on failure the old file stays as it was.
    static FileSaveResult doWriteConfigFile(const std::string& path, const std::string& text, AtomicFileWriter& writer);
};

}  // namespace zentrova
