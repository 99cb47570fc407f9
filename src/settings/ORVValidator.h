#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

// Checks of the settings pages' free-text input. Each returns none when the
// input is acceptable, else the display text of the message to show.
class ORVValidator {
public:
    static constexpr double kGsensorThresholdMinimum = 0.05;
    static constexpr double kGsensorThresholdMaximum = 1.5;
    static constexpr std::int64_t kSDCardSizeRatioMinimum = 10;

    // An absent or empty text is accepted (the page stores 0 for it).
    static std::optional<std::string> validateGsensorThreshold(std::optional<std::string_view> text);
    // A percentage of the card for one kind of recording.
    static std::optional<std::string> validateSDCardSizeRatio(std::int64_t ratio);
};

}  // namespace zentrova
