#pragma once

#include "check/CardCheckReport.h"

#include <string>
#include <string_view>

namespace zentrova {

// The card check's report as JSON, with stable keys (see the README).
class CardCheckJson {
public:
    static std::string write(const CardCheckReport& report);

    // "plays", "empty", "cutOff", ...: the state of a file by its fault.
    static std::string_view stateWord(Mp4Fault fault);
    // "inStep", "timeZone", "cameraClock", "noGpsTime".
    static std::string_view verdictWord(ClockVerdict verdict);
};

}  // namespace zentrova
