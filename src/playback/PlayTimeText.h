#pragma once

#include <cstdint>
#include <string>

namespace zentrova {

// The times at the two ends of the position slider: the time played and the
// recording's length, "m:ss", or "h:mm:ss" for both once the recording lasts
// an hour or more, so that neither text changes its width on the way.
class PlayTimeText {
public:
    struct Texts {
        std::string elapsed;
        std::string total;
        bool operator==(const Texts&) const = default;
    };
    // While the length is unknown (nothing loaded, not read yet).
    static constexpr const char* kUnknown = "-:--";

    // position is the play position, 0 to 1 (outside or NaN held to it).
    static Texts forPosition(double position, std::int64_t lengthMs);
    // Whole seconds, cut down: the time played reaches the length only at the end.
    static std::string clock(std::int64_t milliseconds, bool withHours);
};

}  // namespace zentrova
