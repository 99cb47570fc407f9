#pragma once

#include "check/CardCheckReport.h"
#include "incident/IncidentPackage.h"
#include "incident/IncidentSummary.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

struct IncidentRequest {
    std::string recordingPath;  // either side's file
    // The check of the recording's card, for its time zone and the
    // camera's clock; none leaves both unknown.
    const CardCheckReport* cardCheck = nullptr;
    std::int64_t createdUtcMilliseconds = 0;
    std::string createdBy;
};

struct IncidentBuild {
    std::optional<IncidentPackage> package;  // none on failure
    std::string error;
    std::shared_ptr<const IncidentSummary> summary;
    std::string folderName;  // a name for the package's folder
};

// Plans the incident package of one recording: both sides' files copied as
// they are, the route as GPX and KML, the telemetry as CSV, and the
// summaries. The window may add one more file (a captured picture) to the
// package before it is written.
class IncidentPackageBuilder {
public:
    static IncidentBuild build(const IncidentRequest& request);

    // The other side's file of a recording, in the same folder; none when
    // it is not there.
    static std::optional<std::string> otherSideOf(const ORVMedia& media);
    // "alwa_20240614_093000-incident".
    static std::string folderNameFor(std::string_view groupName);
};

}  // namespace zentrova
