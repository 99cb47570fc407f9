#pragma once

#include "check/CardCheckReport.h"

#include <chrono>
#include <optional>
#include <string>

namespace zentrova {

// Setting the camera's clock from a card check: the clock file timeset.cfg
// with the current time in the zone the card's config.bin sets, so that the
// file names agree with GPS once the camera has read it.
class ClockFix {
public:
    static constexpr const char* kFileName = "timeset.cfg";

    // Whether the report calls for setting the clock itself: what is left
    // of the difference once a time zone explains the rest is beyond the
    // tolerance, on a complete check.
    static bool isOffered(const CardCheckReport& report);

    // The clock file's text for the instant in local time utcOffsetMinutes
    // ahead of UTC, or in the computer's own zone when none is known; none
    // outside the years the camera takes.
    static std::optional<std::string> textAt(std::chrono::system_clock::time_point instant,
                                             std::optional<int> utcOffsetMinutes);

    // The card's zone as the report found it in config.bin.
    static std::optional<int> cardOffsetMinutes(const CardCheckReport& report);

    // Where the clock file goes: beside the card's config.bin, else in the
    // checked folder.
    static std::string filePath(const CardCheckReport& report);
};

}  // namespace zentrova
