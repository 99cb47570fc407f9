#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zentrova {

// The time zones of the GPS settings page. The record's time_gmt holds the
// position of the chosen entry in this list, not an offset.
class TimeZoneList {
public:
    static constexpr std::int32_t kCount = 34;
    static constexpr std::int32_t kUtcIndex = 14;

    // Minutes of local time ahead of UTC; none for a position outside the list.
    static std::optional<int> offsetMinutes(std::int32_t index);
    // "+05:45", "00:00", "-12:00"; empty for a position outside the list.
    static std::string_view label(std::int32_t index);
    static std::optional<std::int32_t> indexOfOffset(int minutes);
};

}  // namespace zentrova
