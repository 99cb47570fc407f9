#pragma once

#include "CivilTime.h"
#include "DriveLogWriter.h"
#include "RecordingTelemetry.h"
#include "TelemetryRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace zentrova::samplecard {

// One file of a card: the n-th recording in time order (from 1), front or rear.
struct SampleFileChoice {
    int recording = 1;
    bool rear = false;
};

// Faults the card can be made with, as the card check must find them.
struct SampleCardFaults {
    std::optional<SampleFileChoice> cutOff;  // the file ends halfway
    std::optional<SampleFileChoice> empty;   // the file has 0 bytes
    // Seconds without any recording after the first continuous one, the car
    // driving on (as after a power cut).
    int gapSeconds = 0;
    // The camera's clock (its file names, its picture) this far ahead of GPS.
    int clockOffsetSeconds = 0;
    bool wrongChecksum = false;  // config.bin's checksum does not fit its fields
};

struct SampleCardOptions {
    std::string outputDirectory;
    int width = 320;
    int height = 180;
    int durationSeconds = 8;
    // Continuous recordings; two event and two motion recordings come on top.
    int continuousCount = 6;
    // The camera's time zone in config.bin (a position in the GPS page's
    // list) and its summer time; the GPS times are the local times less both.
    std::int32_t timeGmt = 15;  // +01:00
    bool summerTime = true;
    SampleCardFaults faults;
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
    std::vector<std::string> faults;  // what was made wrong, one line each
};

struct SampleCardResult {
    std::optional<SampleCard> card;  // none on failure
    std::string error;
};

// Writes a card as the camera leaves it: recordings of the three modes in
// their folders (front files in the camera's layout with telemetry of one
// drive along a road loop), config.bin with the reset settings and the
// card's time zone, timeset.cfg and the drive log of the same drive; then
// makes the faults asked for. Returns what it wrote.
class SampleCardGenerator {
public:
    explicit SampleCardGenerator(SampleCardOptions options);

    // Minutes of the camera's local time ahead of UTC; none for a time zone outside the list.
    std::optional<int> utcOffsetMinutes() const;

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
    std::optional<std::string> makeFileFaults(SampleCard& card) const;
    CivilTime localTimeAt(double driveSeconds) const;
    // The camera's clock at that time of the drive.
    CivilTime cameraTimeAt(double driveSeconds) const;

    SampleCardOptions m_options;
};

}  // namespace zentrova::samplecard
