#pragma once

#include "common/Localization.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

enum class Severity { Info, Warning, Problem };

// "info", "warning" or "problem".
std::string_view severityWord(Severity severity);

// One value a finding's sentence names, kept apart for machine readers.
struct FindingValue {
    std::string name;
    std::string text;               // as the sentence shows it
    std::optional<double> number;   // the same as a number, where it is one

    static FindingValue ofText(std::string name, std::string text);
    static FindingValue ofInteger(std::string name, std::int64_t value);
    // Rounded to whole seconds in the text, exact in the number.
    static FindingValue ofSeconds(std::string name, double value);
    static FindingValue ofBytes(std::string name, std::uint64_t value);
};

// One thing the card check found. The key is the string-table key of its
// sentence and stays the same from version to version; the sentence is the
// key's text with the values filled in, in order.
struct CheckFinding {
    Severity severity = Severity::Info;
    std::string key;
    std::string subject;  // the file (relative to the card), the day, or empty for the card
    std::vector<FindingValue> values;
    std::string text;

    static CheckFinding make(Severity severity, TextKey key, std::string subject, std::vector<FindingValue> values);
    // The value of that name, or none.
    const FindingValue* value(std::string_view name) const;
};

using CheckFindings = std::vector<CheckFinding>;

}  // namespace zentrova
