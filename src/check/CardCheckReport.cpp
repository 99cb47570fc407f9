#include "check/CardCheckReport.h"

#include <algorithm>

namespace zentrova {

std::optional<double> RecordingCheck::lengthSeconds() const {
    std::optional<double> length;
    for (const auto* side : {&front, &rear}) {
        if (!*side) continue;
        const auto seconds = (*side)->index.lengthSeconds();
        if (seconds && (!length || *seconds > *length)) length = seconds;
    }
    return length;
}

const TelemetryFacts* RecordingCheck::telemetry() const {
    return front && front->telemetry ? &*front->telemetry : nullptr;
}

std::size_t CardCheckReport::count(Severity severity) const {
    return static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(),
                                                  [severity](const CheckFinding& f) { return f.severity == severity; }));
}

std::size_t CardCheckReport::fileCount() const {
    std::size_t files = 0;
    for (const RecordingCheck& recording : recordings) files += (recording.front ? 1 : 0) + (recording.rear ? 1 : 0);
    return files;
}

Severity CardCheckReport::worst() const {
    if (count(Severity::Problem) > 0) return Severity::Problem;
    if (count(Severity::Warning) > 0) return Severity::Warning;
    return Severity::Info;
}

}  // namespace zentrova
