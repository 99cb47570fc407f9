#include "check/CheckFinding.h"

#include "card/SizeText.h"

#include <cmath>

namespace zentrova {

std::string_view severityWord(Severity severity) {
    switch (severity) {
    case Severity::Info: return "info";
    case Severity::Warning: return "warning";
    case Severity::Problem: return "problem";
    }
    return "info";
}

FindingValue FindingValue::ofText(std::string name, std::string text) {
    return FindingValue{std::move(name), std::move(text), std::nullopt};
}

FindingValue FindingValue::ofInteger(std::string name, std::int64_t value) {
    return FindingValue{std::move(name), std::to_string(value), static_cast<double>(value)};
}

FindingValue FindingValue::ofSeconds(std::string name, double value) {
    return FindingValue{std::move(name), std::to_string(std::llround(value)), value};
}

FindingValue FindingValue::ofBytes(std::string name, std::uint64_t value) {
    return FindingValue{std::move(name), sizeText(value), static_cast<double>(value)};
}

CheckFinding CheckFinding::make(Severity severity, TextKey key, std::string subject, std::vector<FindingValue> values) {
    CheckFinding finding;
    finding.severity = severity;
    finding.key = std::string(key.key);
    finding.subject = std::move(subject);
    std::vector<std::string> texts;
    texts.reserve(values.size());
    for (const FindingValue& value : values) texts.push_back(value.text);
    finding.text = fillFormat(localized(key), texts);
    finding.values = std::move(values);
    return finding;
}

const FindingValue* CheckFinding::value(std::string_view name) const {
    for (const FindingValue& value : values) {
        if (value.name == name) return &value;
    }
    return nullptr;
}

}  // namespace zentrova
