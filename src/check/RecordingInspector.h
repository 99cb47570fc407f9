#pragma once

#include "check/CheckFinding.h"
#include "check/Mp4Index.h"
#include "check/TelemetryFacts.h"
#include "recordings/ORVMedia.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

class ORVBlackBoxData;

// One recording file as the card check saw it.
struct RecordingFileCheck {
    ORVMediaDirection side = ORVMediaDirectionFront;
    std::string path;
    bool checked = false;  // false until looked at (a cancelled check leaves some)
    std::string unreadableReason;  // for Mp4Fault::Unreadable
    Mp4Index index;
    // Front files only: the telemetry when its track was found with records.
    std::optional<TelemetryFacts> telemetry;
    bool telemetryLooked = false;
};

// Reads one recording file without changing it: its index, and for a front
// file its telemetry records (by the chunk table, not by reading the video).
class RecordingInspector {
public:
    static RecordingFileCheck inspect(const std::string& path, ORVMediaDirection side, ORVBlackBoxData& scratch);

    // What is wrong with the file, if anything, as findings about subject.
    static void addFindings(const RecordingFileCheck& file, const std::string& subject, CheckFindings& findings);
};

}  // namespace zentrova
