#include "incident/IncidentPackageBuilder.h"

#include "check/CivilSeconds.h"
#include "check/RecordingInspector.h"
#include "incident/IncidentSummaryHtml.h"
#include "incident/IncidentSummaryJson.h"
#include "recordings/RecordingsWalker.h"
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/TelemetryExporter.h"

#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

struct Sides {
    std::optional<std::string> front;
    std::optional<std::string> rear;
};

std::optional<double> longer(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a) return b;
    if (!b) return a;
    return std::max(*a, *b);
}

// The card's view of the clock, and this recording's place in it.
void addClock(IncidentSummary& summary, const CardCheckReport* check) {
    if (!check) return;
    summary.cardDirectory = check->directory;
    summary.timeZone = check->settings.timeZone();
    if (check->complete) summary.cardClock = check->clock;
    for (const RecordingCheck& recording : check->recordings) {
        if (recording.name == summary.recording && recording.clockDifferenceSeconds) {
            summary.clockDifferenceSeconds = recording.clockDifferenceSeconds;
            return;
        }
    }
    // Not on the checked card: measured here against the card's zone.
    const auto offset = summary.timeZone ? summary.timeZone->utcOffsetMinutes() : std::nullopt;
    if (summary.nameStart && offset && summary.telemetry && summary.telemetry->gpsStartUtcMilliseconds) {
        summary.clockDifferenceSeconds =
            static_cast<double>(*summary.nameStart) -
            (static_cast<double>(*summary.telemetry->gpsStartUtcMilliseconds) / 1000.0 + *offset * 60.0);
    }
}

std::optional<std::string> addTelemetryFiles(IncidentPackage& package, const ORVBlackBoxData& data,
                                             std::string_view name) {
    struct File {
        TelemetryExportFormat format;
        const char* fileName;
        const char* role;
    };
    for (const File& file : {File{TelemetryExportFormat::Gpx, "route.gpx", "routeGpx"},
                             File{TelemetryExportFormat::Kml, "route.kml", "routeKml"},
                             File{TelemetryExportFormat::Csv, "telemetry.csv", "telemetryCsv"}}) {
        auto exported = TelemetryExporter::exportTelemetry(file.format, data, name);
        if (!exported) return std::nullopt;
        if (auto error = package.addFile(file.fileName, file.role, std::move(exported->text))) return error;
    }
    return std::nullopt;
}

}  // namespace

std::string IncidentPackageBuilder::folderNameFor(std::string_view groupName) {
    return std::string(groupName) + "-incident";
}

std::optional<std::string> IncidentPackageBuilder::otherSideOf(const ORVMedia& media) {
    const fs::path folder = fs::path(media.path()).parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!isRecordingExtension(name) || !isAcceptableRecordingName(name)) continue;
        const ORVMedia other(it->path().string());
        if (other.mediaGroupName() != media.mediaGroupName() || other.mediaDirection() == media.mediaDirection()) continue;
        if (it->is_regular_file(ec)) return it->path().string();
    }
    return std::nullopt;
}

IncidentBuild IncidentPackageBuilder::build(const IncidentRequest& request) {
    IncidentBuild build;
    const std::string fileName = fs::path(request.recordingPath).filename().string();
    if (!isRecordingExtension(fileName) || !isAcceptableRecordingName(fileName)) {
        build.error = fileName + " is not named like a recording of the camera";
        return build;
    }
    std::error_code ec;
    if (!fs::is_regular_file(request.recordingPath, ec)) {
        build.error = "cannot read " + request.recordingPath;
        return build;
    }
    const ORVMedia media(request.recordingPath);
    Sides sides;
    (media.isRearMedia() ? sides.rear : sides.front) = media.path();
    (media.isRearMedia() ? sides.front : sides.rear) = otherSideOf(media);

    auto summary = std::make_shared<IncidentSummary>();
    summary->recording = media.mediaGroupName();
    summary->mode = media.mediaDivision();
    summary->nameStart = CivilSeconds::ofMediaName(media);
    summary->createdUtcMilliseconds = request.createdUtcMilliseconds;
    summary->createdBy = request.createdBy;

    IncidentPackage package;
    ORVBlackBoxData data;
    if (sides.front) {
        const RecordingFileCheck front = RecordingInspector::inspect(*sides.front, ORVMediaDirectionFront, data);
        summary->lengthSeconds = front.index.lengthSeconds();
        summary->telemetry = front.telemetry;
        if (auto error = package.addCopy(fs::path(*sides.front).filename().string(), "frontVideo", *sides.front)) {
            build.error = *error;
            return build;
        }
    }
    if (sides.rear) {
        ORVBlackBoxData unused;
        const RecordingFileCheck rear = RecordingInspector::inspect(*sides.rear, ORVMediaDirectionRear, unused);
        summary->lengthSeconds = longer(summary->lengthSeconds, rear.index.lengthSeconds());
        if (auto error = package.addCopy(fs::path(*sides.rear).filename().string(), "rearVideo", *sides.rear)) {
            build.error = *error;
            return build;
        }
    }
    if (summary->telemetry) {
        if (auto error = addTelemetryFiles(package, data, summary->recording)) {
            build.error = *error;
            return build;
        }
    }
    addClock(*summary, request.cardCheck);

    const std::shared_ptr<const IncidentSummary> facts = summary;
    (void)package.addSummary("summary.json", "summaryJson",
                             [facts](std::span<const PackagedFile> files) { return IncidentSummaryJson::write(*facts, files); });
    (void)package.addSummary("summary.html", "summaryHtml",
                             [facts](std::span<const PackagedFile> files) { return IncidentSummaryHtml::write(*facts, files); });
    build.package = std::move(package);
    build.summary = facts;
    build.folderName = folderNameFor(summary->recording);
    return build;
}

}  // namespace zentrova
