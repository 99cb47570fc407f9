#include "SampleCardGenerator.h"

#include "CameraLayoutRewriter.h"
#include "DriveSimulator.h"
#include "SampleVideoEncoder.h"

#include "common/linux/PosixAtomicFileWriter.h"
#include "settings/FILEDATA.h"
#include "settings/FileDataFile.h"
#include "settings/TimeZoneList.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <stdlib.h>

namespace zentrova::samplecard {
namespace {

namespace fs = std::filesystem;

const CivilTime kDriveStartLocal{2024, 6, 14, 9, 30, 0, 0};
constexpr double kDeparture = 3.0;  // the car sets off a few seconds after the camera starts
constexpr double kFixAfter = 2.0;   // the receiver's first fix
constexpr double kGapBeforeLastEvent = 20.0;
constexpr double kDriveAfterLastEvent = 30.0;
constexpr double kParkedBeforeMotion = 60.0;
constexpr double kGapBetweenMotions = 90.0;
constexpr double kDriveLogInterval = 10.0;

struct ModeNames {
    const char* prefix;
    const char* folder;
};

ModeNames namesOf(RecordingMode mode) {
    switch (mode) {
        case RecordingMode::Motion: return {"motion_", "Motion"};
        case RecordingMode::Event: return {"event_", "Event"};
        case RecordingMode::Continuous: break;
    }
    return {"alwa_", "Normal"};
}

std::string nameTime(const CivilTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d_%02d%02d%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second);
    return text;
}

std::optional<std::string> readWholeFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot open " + path;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return "cannot read " + path;
    return std::nullopt;
}

std::optional<std::string> writeWholeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return "cannot write " + path;
    return std::nullopt;
}

// A private scratch folder for ffmpeg, removed when the generator is done.
class WorkDirectory {
public:
    WorkDirectory() {
        std::string pattern = (fs::temp_directory_path() / "zentrova-samplecard-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~WorkDirectory() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove_all(m_path, ignored);
    }
    WorkDirectory(const WorkDirectory&) = delete;
    WorkDirectory& operator=(const WorkDirectory&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace

struct SampleCardGenerator::Schedule {
    std::vector<SampleRecording> recordings;
    double arrival = 0;
    double horizon = 0;
};

SampleCardGenerator::SampleCardGenerator(SampleCardOptions options) : m_options(std::move(options)) {
    m_options.durationSeconds = std::max(m_options.durationSeconds, 1);
    m_options.continuousCount = std::max(m_options.continuousCount, 1);
}

CivilTime SampleCardGenerator::localTimeAt(double driveSeconds) const {
    return CivilTime::fromSecondsSinceEpoch(kDriveStartLocal.secondsSinceEpoch() +
                                            static_cast<std::int64_t>(std::floor(driveSeconds)));
}

CivilTime SampleCardGenerator::cameraTimeAt(double driveSeconds) const {
    return localTimeAt(driveSeconds + m_options.faults.clockOffsetSeconds);
}

std::optional<int> SampleCardGenerator::utcOffsetMinutes() const {
    const auto zone = TimeZoneList::offsetMinutes(m_options.timeGmt);
    if (!zone) return std::nullopt;
    return *zone + (m_options.summerTime ? 60 : 0);
}

// Continuous recordings back to back, an event in the middle of the drive
// (it takes over from the continuous recording, which goes on after it) and
// one near its end, then two motion recordings of the parked car.
// One continuous recording lost its rear file, one motion recording has
// only a rear file; the event recordings and the last continuous one come
// from a receiver mode that reports GNS instead of GSA.
SampleCardGenerator::Schedule SampleCardGenerator::schedule() const {
    const int count = m_options.continuousCount;
    const double duration = m_options.durationSeconds;
    const int firstBlock = (count + 1) / 2;
    Schedule plan;
    auto add = [&](RecordingMode mode, double start) -> SampleRecording& {
        SampleRecording recording;
        recording.mode = mode;
        recording.driveStart = start;
        recording.start = cameraTimeAt(start);
        recording.groupName = namesOf(mode).prefix + nameTime(recording.start);
        recording.frontPath = "F";
        recording.rearPath = "R";
        plan.recordings.push_back(recording);
        return plan.recordings.back();
    };
    double at = 0;
    for (int i = 0; i < firstBlock; ++i, at += duration) {
        add(RecordingMode::Continuous, at);
        if (i == 0) at += m_options.faults.gapSeconds;
    }
    SampleRecording& firstEvent = add(RecordingMode::Event, at);
    firstEvent.impact = true;
    firstEvent.report = SatelliteReport::Gns;
    at += duration;
    for (int i = firstBlock; i < count; ++i, at += duration) {
        SampleRecording& recording = add(RecordingMode::Continuous, at);
        if (i == count - 1) recording.report = SatelliteReport::Gns;
    }
    at += kGapBeforeLastEvent;
    SampleRecording& secondEvent = add(RecordingMode::Event, at);
    secondEvent.impact = true;
    secondEvent.report = SatelliteReport::Gns;
    at += duration;
    plan.arrival = at + kDriveAfterLastEvent;
    at = plan.arrival + kParkedBeforeMotion;
    add(RecordingMode::Motion, at);
    at += duration + kGapBetweenMotions;
    add(RecordingMode::Motion, at).frontPath.clear();
    plan.horizon = at + duration + 1;

    std::vector<std::size_t> continuous;
    for (std::size_t i = 0; i < plan.recordings.size(); ++i) {
        if (plan.recordings[i].mode == RecordingMode::Continuous) continuous.push_back(i);
    }
    // With a single continuous recording the second event loses its rear file instead.
    const std::size_t frontOnly =
        continuous.size() >= 2 ? continuous[std::min<std::size_t>(2, continuous.size() - 1)] : plan.recordings.size() - 3;
    plan.recordings[frontOnly].rearPath.clear();
    return plan;
}

std::vector<SampleRecording> SampleCardGenerator::plan() const { return schedule().recordings; }

double SampleCardGenerator::arrival() const { return schedule().arrival; }

SampleCardResult SampleCardGenerator::generate() const {
    SampleCardResult result;
    Schedule plan = schedule();
    std::error_code ec;
    fs::create_directories(m_options.outputDirectory, ec);
    if (ec) {
        result.error = "cannot create " + m_options.outputDirectory + ": " + ec.message();
        return result;
    }
    WorkDirectory work;
    if (work.path().empty()) {
        result.error = "cannot create a scratch folder";
        return result;
    }
    const DriveSimulator drive(RoadRoute::sampleLoop(), kDeparture, plan.arrival, plan.horizon);
    const std::optional<int> offset = utcOffsetMinutes();
    if (!offset) {
        result.error = "no time zone at position " + std::to_string(m_options.timeGmt);
        return result;
    }
    const std::int64_t utcAtStart = kDriveStartLocal.secondsSinceEpoch() - *offset * 60LL;
    const RecordingTelemetry telemetry(drive, utcAtStart, kFixAfter);

    SampleCard card;
    std::uint32_t seed = 0x9E3779B9u;
    for (SampleRecording& recording : plan.recordings) {
        seed = seed * 1664525u + 1013904223u;
        recording.records.clear();
        if (!recording.frontPath.empty()) {
            RecordingTelemetryPlan records;
            records.start = recording.driveStart;
            records.durationSeconds = m_options.durationSeconds;
            records.report = recording.report;
            records.impact = recording.impact;
            records.seed = seed;
            recording.records = telemetry.make(records);
        }
        if (std::optional<std::string> error = writeRecording(recording, work.path())) {
            result.error = *error;
            return result;
        }
        card.recordings.push_back(std::move(recording));
    }
    card.driveLog = driveLog(drive, plan.horizon);
    if (std::optional<std::string> error = writeCardFiles(card)) {
        result.error = *error;
        return result;
    }
    if (std::optional<std::string> error = makeFileFaults(card)) {
        result.error = *error;
        return result;
    }
    result.card = std::move(card);
    return result;
}

std::optional<std::string> SampleCardGenerator::writeRecording(SampleRecording& recording,
                                                               const std::string& workDirectory) const {
    const fs::path folder = fs::path(m_options.outputDirectory) / namesOf(recording.mode).folder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return "cannot create " + folder.string() + ": " + ec.message();

    SampleVideo video;
    video.width = m_options.width;
    video.height = m_options.height;
    video.durationSeconds = m_options.durationSeconds;
    video.clockStart = recording.start;
    video.textFilePath = workDirectory + "/overlay.txt";
    video.outputPath = workDirectory + "/encoded.mp4";

    if (!recording.frontPath.empty()) {
        video.front = true;
        if (std::optional<std::string> error = SampleVideoEncoder::encode(video)) return error;
        Bytes encoded;
        if (std::optional<std::string> error = readWholeFile(video.outputPath, encoded)) return error;
        CameraLayoutRewriter rewriter;
        rewriter.recordsPerSecond = RecordingTelemetry::kRecordsPerSecond;
        RewriteResult rewritten = rewriter.rewrite(encoded, recording.records);
        if (!rewritten.file) return "cannot lay out " + recording.groupName + ": " + rewritten.error;
        recording.frontPath = (folder / (recording.groupName + "_F.MP4")).string();
        if (std::optional<std::string> error = writeWholeFile(recording.frontPath, *rewritten.file)) return error;
    }
    if (!recording.rearPath.empty()) {
        video.front = false;
        if (std::optional<std::string> error = SampleVideoEncoder::encode(video)) return error;
        recording.rearPath = (folder / (recording.groupName + "_R.MP4")).string();
        fs::copy_file(video.outputPath, recording.rearPath, fs::copy_options::overwrite_existing, ec);
        if (ec) return "cannot write " + recording.rearPath + ": " + ec.message();
    }
    return std::nullopt;
}

std::vector<DriveLogRecord> SampleCardGenerator::driveLog(const DriveSimulator& drive, double horizon) const {
    std::vector<DriveLogRecord> records;
    double fastest = 0;
    for (double at = 0; at <= horizon; at += kDriveLogInterval) {
        const DriveState state = drive.stateAt(at);
        const CivilTime local = cameraTimeAt(at);
        const double kilometresPerHour = state.speed * 3.6;
        fastest = std::max(fastest, kilometresPerHour);
        DriveLogRecord record;
        record.sequence = static_cast<std::uint16_t>(records.size() + 1);
        record.dayOfWeek = static_cast<std::uint8_t>(local.dayOfWeek());
        record.status = at >= kFixAfter ? 1 : 0;
        record.yearSince1900 = static_cast<std::uint8_t>(local.year - 1900);
        record.month = static_cast<std::uint8_t>(local.month);
        record.day = static_cast<std::uint8_t>(local.day);
        record.hour = static_cast<std::uint8_t>(local.hour);
        record.minute = static_cast<std::uint8_t>(local.minute);
        record.second = static_cast<std::uint8_t>(local.second);
        if (record.status == 1) {
            DriveLogWriter::splitDegrees(state.latitude, record.latitudeDegreesMinutes, record.latitudeFraction);
            DriveLogWriter::splitDegrees(state.longitude, record.longitudeDegreesMinutes, record.longitudeFraction);
        }
        record.speed = static_cast<std::uint16_t>(std::lround(kilometresPerHour));
        record.distanceTenths = static_cast<std::uint32_t>(std::lround(state.distance / 100.0));
        record.maximumSpeed = static_cast<std::uint16_t>(std::lround(fastest));
        record.x = static_cast<std::int16_t>(std::lround(state.forwardAcceleration / 9.81 * 256));
        record.y = static_cast<std::int16_t>(std::lround(state.lateralAcceleration / 9.81 * 256));
        record.z = 256;
        record.batteryTenths = static_cast<std::int16_t>(state.speed > 0 || at < kDeparture ? 141 : 126);
        records.push_back(record);
    }
    return records;
}

std::optional<std::string> SampleCardGenerator::writeCardFiles(SampleCard& card) const {
    const fs::path root(m_options.outputDirectory);
    card.settingsPath = (root / "config.bin").string();
    // The factory settings as the camera saves them, with the card's time
    // zone and their checksum.
    FILEDATA settings;
    resetFileData(settings);
    settings.time_gmt = m_options.timeGmt;
    settings.summer_time = m_options.summerTime ? 1 : 0;
    prepareFileDataForWriting(settings);
    if (m_options.faults.wrongChecksum) {
        settings.checksum ^= 0x5A5A;
        card.faults.push_back("wrong checksum: " + card.settingsPath);
    }
    PosixAtomicFileWriter writer;
    if (const FileSaveResult result = writeFileData(settings, card.settingsPath, writer); !result.saved()) {
        return "cannot write " + card.settingsPath + ": " + result.reason;
    }

    card.clockPath = (root / "timeset.cfg").string();
    char clock[32];
    std::snprintf(clock, sizeof clock, "%04d/%02d/%02d %02d:%02d:%02d", kDriveStartLocal.year, kDriveStartLocal.month,
                  kDriveStartLocal.day, kDriveStartLocal.hour, kDriveStartLocal.minute, kDriveStartLocal.second);
    const std::string clockText(clock);
    if (std::optional<std::string> error = writeWholeFile(card.clockPath, Bytes(clockText.begin(), clockText.end()))) {
        return error;
    }

    std::error_code ec;
    fs::create_directories(root / "DrvInfo", ec);
    if (ec) return "cannot create " + (root / "DrvInfo").string() + ": " + ec.message();
    card.driveLogPath = (root / "DrvInfo" / "zentrova_000.drv").string();
    return writeWholeFile(card.driveLogPath, DriveLogWriter::encode(card.driveLog));
}

std::optional<std::string> SampleCardGenerator::makeFileFaults(SampleCard& card) const {
    struct Fault {
        const std::optional<SampleFileChoice>& choice;
        bool empty;
    };
    for (const Fault& fault : {Fault{m_options.faults.cutOff, false}, Fault{m_options.faults.empty, true}}) {
        if (!fault.choice) continue;
        const SampleFileChoice& choice = *fault.choice;
        if (choice.recording < 1 || static_cast<std::size_t>(choice.recording) > card.recordings.size()) {
            return "there is no recording " + std::to_string(choice.recording) + " (the card has " +
                   std::to_string(card.recordings.size()) + ")";
        }
        const SampleRecording& recording = card.recordings[static_cast<std::size_t>(choice.recording - 1)];
        const std::string& path = choice.rear ? recording.rearPath : recording.frontPath;
        if (path.empty()) return recording.groupName + " has no " + (choice.rear ? "rear" : "front") + " file";
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(path, ec);
        const std::uintmax_t kept = fault.empty ? 0 : size / 2;
        if (!ec) fs::resize_file(path, kept, ec);
        if (ec) return "cannot shorten " + path + ": " + ec.message();
        card.faults.push_back((fault.empty ? "emptied: " : "cut off: ") + path + " (" + std::to_string(kept) + " of " +
                              std::to_string(size) + " bytes kept)");
    }
    return std::nullopt;
}

}  // namespace zentrova::samplecard
