#include "RecordingTelemetry.h"

#include <cmath>

namespace zentrova::samplecard {
namespace {

constexpr double kGravity = 9.81;
constexpr double kKnotsPerMetreSecond = 3600.0 / 1852.0;

const std::vector<int> kGpsInView{3, 7, 8, 10, 16, 19, 21, 27, 30, 14, 5};
const std::vector<int> kGlonassInView{66, 67, 75, 76, 82, 83, 68};

// A small generator of its own, so that a card comes out the same everywhere.
double nextNoise(std::uint32_t& state) {
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        sum += static_cast<double>(state) / 2147483648.0 - 1.0;
    }
    return sum / 3.0;
}

double roundToTenth(double value) { return std::round(value * 10.0) / 10.0; }

}  // namespace

RecordingTelemetry::RecordingTelemetry(const DriveSimulator& drive, std::int64_t utcAtDriveStart, double fixAfter)
    : m_drive(drive), m_utcAtDriveStart(utcAtDriveStart), m_fixAfter(fixAfter) {}

GpsReading RecordingTelemetry::readingAt(double driveSeconds) const {
    const DriveState state = m_drive.stateAt(driveSeconds);
    const double whole = std::floor(driveSeconds);
    GpsReading reading;
    reading.time = CivilTime::fromSecondsSinceEpoch(m_utcAtDriveStart + static_cast<std::int64_t>(whole),
                                                    static_cast<int>(std::lround((driveSeconds - whole) * 1000.0)));
    reading.valid = driveSeconds >= m_fixAfter;
    reading.latitude = state.latitude;
    reading.longitude = state.longitude;
    reading.speedKnots = state.speed * kKnotsPerMetreSecond;
    reading.course = state.course;
    reading.altitude = 430.0 + 15.0 * std::sin(state.distance / 800.0);
    // Satellites come and go slowly as the car moves.
    const int minute = static_cast<int>(driveSeconds / 23.0);
    const std::size_t gpsUsed = 7 + static_cast<std::size_t>(minute % 3);
    const std::size_t glonassUsed = 4 + static_cast<std::size_t>((minute / 2) % 3);
    reading.gpsSatellites.assign(kGpsInView.begin(), kGpsInView.begin() + static_cast<std::ptrdiff_t>(gpsUsed));
    reading.glonassSatellites.assign(kGlonassInView.begin(),
                                     kGlonassInView.begin() + static_cast<std::ptrdiff_t>(glonassUsed));
    reading.hdop = roundToTenth(0.7 + 0.6 / static_cast<double>(gpsUsed + glonassUsed - 10));
    reading.pdop = reading.hdop + 0.6;
    reading.vdop = reading.hdop + 0.4;
    return reading;
}

std::vector<std::string> RecordingTelemetry::sentenceSlots(const RecordingTelemetryPlan& plan, double secondStart,
                                                           int second) const {
    const GpsReading reading = readingAt(secondStart);
    std::vector<std::string> slots(kRecordsPerSecond);
    slots[0] = NmeaSentenceWriter::rmc(reading);
    slots[1] = NmeaSentenceWriter::gga(reading);
    if (plan.report == SatelliteReport::Gns) {
        slots[2] = NmeaSentenceWriter::gns(reading);
    } else {
        slots[2] = NmeaSentenceWriter::gsa(reading, reading.gpsSatellites);
        slots[3] = NmeaSentenceWriter::gsa(reading, reading.glonassSatellites);
    }
    if (second % 5 == 2) {
        std::string stream;
        for (const std::string& sentence : NmeaSentenceWriter::gsv(kGpsInView)) stream += sentence;
        const std::size_t cut = std::min(stream.size(), TelemetryRecord::kTextSize);
        slots[4] = stream.substr(0, cut);
        slots[5] = stream.substr(cut, TelemetryRecord::kTextSize);
    }
    return slots;
}

void RecordingTelemetry::addGSensor(TelemetryRecord& record, const RecordingTelemetryPlan& plan, double time,
                                    std::uint32_t& noise) const {
    const DriveState state = m_drive.stateAt(time);
    // Road noise grows with speed; a parked car only shivers.
    const double roughness = state.speed > 0.5 ? 0.02 + state.speed * 0.002 : 0.004;
    double x = state.forwardAcceleration / kGravity + roughness * nextNoise(noise);
    double y = state.lateralAcceleration / kGravity + roughness * nextNoise(noise);
    double z = 1.0 + 1.8 * roughness * nextNoise(noise);
    if (plan.impact) {
        const double since = time - (plan.start + 0.4 * plan.durationSeconds);
        if (since >= 0 && since < 1.5) {
            // A knock from ahead: a sharp peak, then the body rings out.
            const double ring = std::exp(-since * 4.0) * std::cos(since * 2.0 * 3.14159265 * 3.0);
            x += -2.9 * ring;
            y += 0.8 * std::exp(-since * 5.0) * std::sin(since * 2.0 * 3.14159265 * 4.0);
            z += 1.6 * ring;
        }
    }
    record.x = static_cast<std::int32_t>(std::lround(x * kOneG));
    record.y = static_cast<std::int32_t>(std::lround(y * kOneG));
    record.z = static_cast<std::int32_t>(std::lround(z * kOneG));
}

std::vector<TelemetryRecord> RecordingTelemetry::make(const RecordingTelemetryPlan& plan) const {
    std::vector<TelemetryRecord> records;
    records.reserve(static_cast<std::size_t>(plan.durationSeconds) * kRecordsPerSecond);
    std::uint32_t noise = plan.seed ? plan.seed : 1;
    for (int second = 0; second < plan.durationSeconds; ++second) {
        const double secondStart = plan.start + second;
        const std::vector<std::string> slots = sentenceSlots(plan, secondStart, second);
        for (int slot = 0; slot < kRecordsPerSecond; ++slot) {
            const double time = secondStart + static_cast<double>(slot) / kRecordsPerSecond;
            TelemetryRecord record;
            const double whole = std::floor(time);
            record.time = static_cast<std::uint32_t>(m_utcAtDriveStart + static_cast<std::int64_t>(whole));
            record.timeHigh = static_cast<std::uint32_t>(std::lround((time - whole) * 1000.0));
            record.t = (second * kRecordsPerSecond + slot) * (1000 / kRecordsPerSecond);
            record.unit = plan.unit;
            record.text = slots[static_cast<std::size_t>(slot)];
            addGSensor(record, plan, time, noise);
            records.push_back(std::move(record));
        }
    }
    return records;
}

}  // namespace zentrova::samplecard
