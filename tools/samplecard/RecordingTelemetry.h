#pragma once

#include "CivilTime.h"
#include "DriveSimulator.h"
#include "NmeaSentenceWriter.h"
#include "TelemetryRecord.h"

#include <cstdint>
#include <vector>

namespace zentrova::samplecard {

// How the receiver reports the satellites used: a GSA sentence per system,
// or one GNS sentence (which then owns the count and the HDOP).
enum class SatelliteReport { GsaPerSystem, Gns };

struct RecordingTelemetryPlan {
    double start = 0;          // seconds into the drive
    int durationSeconds = 8;
    SatelliteReport report = SatelliteReport::GsaPerSystem;
    bool impact = false;       // an event: a hard knock 40 % into the recording
    std::uint32_t seed = 1;
    std::uint8_t unit = '9';
};

// The telemetry of one front recording: ten records a second. In every
// second the receiver's sentences go out one to a record (RMC, GGA, then
// GSA or GNS); every fifth second its satellites in view follow, the second
// GSV message cut at the record's end and finished in the next one, as a
// serial stream lands in fixed-size records; the other records carry no text.
class RecordingTelemetry {
public:
    static constexpr int kRecordsPerSecond = 10;
    static constexpr std::int32_t kOneG = 256;

    RecordingTelemetry(const DriveSimulator& drive, std::int64_t utcAtDriveStart, double fixAfter);

    std::vector<TelemetryRecord> make(const RecordingTelemetryPlan& plan) const;
    // What the receiver knew at that time of the drive.
    GpsReading readingAt(double driveSeconds) const;

private:
    std::vector<std::string> sentenceSlots(const RecordingTelemetryPlan& plan, double secondStart, int second) const;
    void addGSensor(TelemetryRecord& record, const RecordingTelemetryPlan& plan, double time,
                    std::uint32_t& noise) const;

    const DriveSimulator& m_drive;
    std::int64_t m_utcAtDriveStart;
    double m_fixAfter;
};

}  // namespace zentrova::samplecard
