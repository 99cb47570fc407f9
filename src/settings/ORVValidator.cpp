#include "settings/ORVValidator.h"

#include "common/Localization.h"
#include "settings/NumberScanner.h"

namespace zentrova {

std::optional<std::string> ORVValidator::validateGsensorThreshold(std::optional<std::string_view> text) {
    if (!text || text->empty()) return std::nullopt;
    std::optional<double> number = scanLeadingNumber(*text);
    if (!number) return localized("msg.input_value_invalid_format");
    if (*number < kGsensorThresholdMinimum || *number > kGsensorThresholdMaximum) {
        return fillNumberFormat(localized("msg.gsensor_outofrange_fmt"),
                                {kGsensorThresholdMinimum, kGsensorThresholdMaximum});
    }
    return std::nullopt;
}

std::optional<std::string> ORVValidator::validateSDCardSizeRatio(std::int64_t ratio) {
    if (ratio < kSDCardSizeRatioMinimum) return localized("msg.sdcard_ratio_too_low");
    return std::nullopt;
}

}  // namespace zentrova
