#pragma once

#include "CivilTime.h"
#include "DriveLogWriter.h"
#include "RecordingTelemetry.h"
#include "TelemetryRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace zentrova::samplecard {

struct SampleCardOptions {
    std::string outputDirectory;
    int width = 320;
    int height = 180;
    int durationSeconds = 8;
    // Continuous recordings; two event and two motion recordings come on top.
    int continuousCount = 6;
};

enum class RecordingMode { Continuous, Motion, Event };

// One recording as written to the card.
struct SampleRecording {
    RecordingMode mode = RecordingMode::Continuous;
    CivilTime start;                  // local time, as in the file names
    std::string groupName;            // e.g. "alwa_20240614_093000"
    std::string frontPath;            // empty when the recording has no front file
    std::string rearPath;             // empty when the recording has no rear file
    SatelliteReport report = SatelliteReport::GsaPerSystem;
    bool impact = false;
    double driveStart = 0;            // seconds into the drive
    std::vector<TelemetryRecord> records;  // the front file's telemetry, in chunk order
};

struct SampleCard {
    std::vector<SampleRecording> recordings;  // in time order
    std::vector<DriveLogRecord> driveLog;
    std::string settingsPath;
    std::string clockPath;
    std::string driveLogPath;
};

struct SampleCardResult {
    std::optional<SampleCard> card;  // none on failure
    std::string error;
};

// Writes a card as the camera leaves it: recordings of the three modes in
// their folders (front files in the camera's layout with telemetry of one
// drive along a road loop), config.bin with the reset settings, timeset.cfg
// and the drive log of the same drive. Returns what it wrote.
class SampleCardGenerator {
public:
    static constexpr int kUtcOffsetMinutes = 120;  // the camera's clock runs on local summer time

    explicit SampleCardGenerator(SampleCardOptions options);

    SampleCardResult generate() const;
    // The recordings that generate() writes, without their files and telemetry.
    std::vector<SampleRecording> plan() const;
    // Seconds into the drive at which the car parks.
    double arrival() const;

private:
    struct Schedule;
    Schedule schedule() const;
    std::optional<std::string> writeRecording(SampleRecording& recording, const std::string& workDirectory) const;
    std::vector<DriveLogRecord> driveLog(const DriveSimulator& drive, double horizon) const;
    std::optional<std::string> writeCardFiles(SampleCard& card) const;
    CivilTime localTimeAt(double driveSeconds) const;

    SampleCardOptions m_options;
};

}  // namespace zentrova::samplecard
