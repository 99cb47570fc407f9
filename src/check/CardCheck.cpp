#include "check/CardCheck.h"

#include "check/CivilSeconds.h"
#include "recordings/ORVMediaList.h"
#include "recordings/RecordingsWalker.h"
#include "telemetry/ORVBlackBoxData.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// One entry per recording, in the list's time order. A second file for a
// side already taken (a copy in another folder) starts a recording of its
// own, so that every file is checked.
std::vector<RecordingCheck> recordingsOf(const ORVMediaListSnapshot& list) {
    std::vector<RecordingCheck> recordings;
    std::map<std::string, std::size_t> byName;
    for (const auto& media : list.medias()) {
        const std::string name = media->mediaGroupName();
        const bool front = !media->isRearMedia();
        auto found = byName.find(name);
        if (found != byName.end()) {
            const RecordingCheck& existing = recordings[found->second];
            if (front ? existing.front.has_value() : existing.rear.has_value()) found = byName.end();
        }
        if (found == byName.end()) {
            RecordingCheck recording;
            recording.name = name;
            recording.mode = media->mediaDivision();
            recording.start = CivilSeconds::ofMediaName(*media);
            recordings.push_back(std::move(recording));
            found = byName.insert_or_assign(name, recordings.size() - 1).first;
        }
        RecordingFileCheck file;
        file.side = front ? ORVMediaDirectionFront : ORVMediaDirectionRear;
        file.path = media->path();
        (front ? recordings[found->second].front : recordings[found->second].rear) = std::move(file);
    }
    return recordings;
}

}  // namespace

CardCheck::CardCheck(std::string directory, DirectoryLister& lister)
    : m_directory(withoutTrailingSlashes(std::move(directory))), m_lister(lister) {}

std::string CardCheck::cardRootOf(const std::string& recordingPath) {
    const fs::path folder = fs::path(recordingPath).parent_path();
    fs::path candidate = folder;
    for (int up = 0; up <= kCardRootSearchDepth && !candidate.empty(); ++up) {
        std::error_code ec;
        if (fs::is_regular_file(candidate / SettingsCheck::kFileName, ec)) return candidate.string();
        if (candidate == candidate.parent_path()) break;
        candidate = candidate.parent_path();
    }
    return folder.empty() ? std::string(".") : folder.string();
}

std::string CardCheck::subjectOf(const std::string& path) const {
    const std::string prefix = m_directory == "/" ? m_directory : m_directory + "/";
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0) return path.substr(prefix.size());
    return path;
}

CardCheckReport CardCheck::run(const ProgressCallback& progress, std::stop_token cancelled) const {
    CardCheckReport report;
    report.directory = m_directory;
    if (progress) progress(CardCheckProgress{});
    report.settings = SettingsCheck::read(m_directory);
    const auto list = ORVMediaList::scanDirectory(m_directory, cancelled, m_lister);
    report.recordingLimitReached = list->count() >= RecordingsWalker::kMaxFiles;
    report.recordings = recordingsOf(*list);
    if (cancelled.stop_requested()) {
        report.complete = false;
    } else {
        inspectFiles(report, progress, cancelled);
    }
    // A part of the card says nothing sure about its gaps, clock or space.
    if (report.complete) {
        compareClock(report);
        checkContinuity(report);
    }
    SpaceCheck::measureCard(m_directory, report.settings.record ? &*report.settings.record : nullptr, report.space);
    collectFindings(report);
    return report;
}

void CardCheck::inspectFiles(CardCheckReport& report, const ProgressCallback& progress,
                             std::stop_token cancelled) const {
    const std::size_t total = report.fileCount();
    std::size_t done = 0;
    ORVBlackBoxData scratch;
    for (RecordingCheck& recording : report.recordings) {
        for (auto* side : {&recording.front, &recording.rear}) {
            if (!*side) continue;
            RecordingFileCheck& file = **side;
            if (progress) progress(CardCheckProgress{done, total, file.path});
            if (cancelled.stop_requested()) {
                report.complete = false;
                return;
            }
            file = RecordingInspector::inspect(file.path, file.side, scratch);
            ModeSpace& space = report.space.mode(recording.mode);
            space.bytes += file.index.fileSize;
            ++space.files;
            ++done;
        }
    }
    if (progress) progress(CardCheckProgress{done, total, {}});
}

void CardCheck::compareClock(CardCheckReport& report) {
    const auto setting = report.settings.timeZone();
    const auto offset = setting ? setting->utcOffsetMinutes() : std::nullopt;
    std::vector<ClockSample> samples;
    for (std::size_t i = 0; i < report.recordings.size(); ++i) {
        RecordingCheck& recording = report.recordings[i];
        const TelemetryFacts* telemetry = recording.telemetry();
        if (!recording.start || !telemetry || !telemetry->gpsStartUtcMilliseconds) continue;
        const double gpsLocal =
            static_cast<double>(*telemetry->gpsStartUtcMilliseconds) / 1000.0 + offset.value_or(0) * 60.0;
        recording.clockDifferenceSeconds = static_cast<double>(*recording.start) - gpsLocal;
        samples.push_back({i, *recording.clockDifferenceSeconds});
    }
    report.clock = ClockComparison::compare(std::move(samples), setting);
}

void CardCheck::checkContinuity(CardCheckReport& report) {
    std::vector<TimedRecording> timed;
    for (std::size_t i = 0; i < report.recordings.size(); ++i) {
        const RecordingCheck& recording = report.recordings[i];
        if (!recording.start) continue;
        TimedRecording entry;
        entry.recording = i;
        entry.mode = recording.mode;
        entry.start = *recording.start;
        entry.lengthSeconds = recording.lengthSeconds();
        if (const TelemetryFacts* telemetry = recording.telemetry()) {
            if (telemetry->first) entry.kilometresPerHourAtStart = telemetry->first->kilometresPerHour;
            if (telemetry->last) entry.kilometresPerHourAtEnd = telemetry->last->kilometresPerHour;
        }
        timed.push_back(entry);
    }
    report.days = ContinuityCheck::days(std::move(timed));
}

void CardCheck::collectFindings(CardCheckReport& report) const {
    CheckFindings& findings = report.findings;
    if (!report.complete) findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.cancelled"}, {}, {}));
    if (report.recordings.empty()) {
        findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.card.no_recordings"}, {},
                                              {FindingValue::ofText("directory", m_directory)}));
    } else {
        findings.push_back(CheckFinding::make(
            Severity::Info, TextKey{"check.card.summary"}, {},
            {FindingValue::ofInteger("recordings", static_cast<std::int64_t>(report.recordings.size())),
             FindingValue::ofInteger("files", static_cast<std::int64_t>(report.fileCount()))}));
    }
    if (report.recordingLimitReached) {
        findings.push_back(CheckFinding::make(
            Severity::Warning, TextKey{"check.card.limit"}, {},
            {FindingValue::ofInteger("files", static_cast<std::int64_t>(RecordingsWalker::kMaxFiles))}));
    }
    std::vector<std::string> names;
    for (const RecordingCheck& recording : report.recordings) {
        names.push_back(recording.name);
        if (recording.front && !recording.rear) {
            findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.recording.front_only"},
                                                  subjectOf(recording.front->path),
                                                  {FindingValue::ofText("recording", recording.name)}));
        } else if (recording.rear && !recording.front) {
            findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.recording.rear_only"},
                                                  subjectOf(recording.rear->path),
                                                  {FindingValue::ofText("recording", recording.name)}));
        }
        for (const auto* side : {&recording.front, &recording.rear}) {
            if (*side && (*side)->checked) RecordingInspector::addFindings(**side, subjectOf((*side)->path), findings);
        }
    }
    if (report.complete) {
        ContinuityCheck::addFindings(report.days, names, findings);
        std::vector<std::string> outliers;
        for (std::size_t index : report.clock.outliers) outliers.push_back(names[index]);
        ClockComparison::addFindings(report.clock, outliers, findings);
    }
    SettingsCheck::addFindings(report.settings, findings);
    if (report.complete) SpaceCheck::addFindings(report.space, findings);
    std::stable_sort(findings.begin(), findings.end(), [](const CheckFinding& a, const CheckFinding& b) {
        return static_cast<int>(a.severity) > static_cast<int>(b.severity);
    });
}

}  // namespace zentrova
