#pragma once

#include "check/CheckFinding.h"
#include "check/ClockComparison.h"
#include "check/ContinuityCheck.h"
#include "check/RecordingInspector.h"
#include "check/SettingsCheck.h"
#include "check/SpaceCheck.h"
#include "recordings/ORVMedia.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

// One recording (its front and rear files) as the check saw it.
struct RecordingCheck {
    std::string name;  // the group name, "alwa_20240614_093000"
    ORVMediaDivision mode = ORVMediaDivisionAlways;
    std::optional<std::int64_t> start;  // by the file name (CivilSeconds)
    std::optional<RecordingFileCheck> front;
    std::optional<RecordingFileCheck> rear;
    // File-name time less the GPS start in the camera's local time.
    std::optional<double> clockDifferenceSeconds;

    // The longer of the two sides' lengths, where known.
    std::optional<double> lengthSeconds() const;
    const TelemetryFacts* telemetry() const;
};

struct CardCheckReport {
    std::string directory;
    // False when the check was cancelled: what it holds covers part of the card.
    bool complete = true;
    // The recordings walk stops at its limit; more files were not looked at.
    bool recordingLimitReached = false;
    std::vector<RecordingCheck> recordings;  // in time order
    std::vector<DayContinuity> days;
    SettingsReport settings;
    ClockReport clock;
    SpaceReport space;
    // Problems first, then warnings, then notes; in the order found within each.
    CheckFindings findings;

    std::size_t count(Severity severity) const;
    std::size_t fileCount() const;
    // The worst severity found; Info when there is nothing worse.
    Severity worst() const;
};

}  // namespace zentrova
