#pragma once

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

    // None when a value lies outside its calendar range (the day must exist
    // in its month), since the camera reads fixed-width digits only.
    static std::optional<std::string> timeSetText(const LocalDate& date, const LocalTime& time);

    // The date and the time of an instant in the computer's time zone.
    static LocalDate localDateOf(std::chrono::system_clock::time_point instant);
    static LocalTime localTimeOf(std::chrono::system_clock::time_point instant);

    // Makes the text the whole content of the file at path, creating it when
    // missing and cutting a longer one. None on success, else the key
    // "msg.file_open_fail" (the system's error text is logged), and the old
    // file stays as it was.
    [[nodiscard]] static std::optional<std::string> doWriteConfigFile(const std::string& path, const std::string& text,
                                                                      AtomicFileWriter& writer);
};

}  // namespace zentrova
