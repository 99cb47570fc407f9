#pragma once

#include <cstdint>
#include <string>

namespace zentrova {

// A play time in milliseconds; the null time is the start.
class VLCTime {
public:
    constexpr VLCTime() = default;
    static constexpr VLCTime timeWithInt(std::int64_t milliseconds) { return VLCTime(milliseconds); }
    static constexpr VLCTime nullTime() { return VLCTime(); }

    constexpr std::int64_t intValue() const { return m_milliseconds; }
    // "mm:ss" (minutes grow past 59; a negative time is shown with a sign).
    std::string stringValue() const;

    friend constexpr bool operator==(VLCTime, VLCTime) = default;

private:
    constexpr explicit VLCTime(std::int64_t milliseconds) : m_milliseconds(milliseconds) {}
    std::int64_t m_milliseconds = 0;
};

}  // namespace zentrova
