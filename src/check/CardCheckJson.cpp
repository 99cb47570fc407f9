#include "check/CardCheckJson.h"

#include "check/CivilSeconds.h"
#include "common/JsonWriter.h"

#include <cmath>

namespace zentrova {
namespace {

template <typename T>
void optional(JsonWriter& json, std::string_view key, const std::optional<T>& value) {
    json.key(key);
    if (value) {
        json.value(*value);
    } else {
        json.null();
    }
}

void writeTelemetry(JsonWriter& json, const RecordingFileCheck& file) {
    json.key("telemetry");
    if (!file.telemetry) {
        json.null();
        return;
    }
    const TelemetryFacts& facts = *file.telemetry;
    json.beginObject()
        .key("records").value(static_cast<unsigned long long>(facts.records))
        .key("validFixes").value(static_cast<unsigned long long>(facts.validFixes));
    json.key("gpsStart");
    if (facts.gpsStartUtcMilliseconds) {
        json.value(CivilSeconds::isoUtcText(*facts.gpsStartUtcMilliseconds));
    } else {
        json.null();
    }
    json.endObject();
}

void writeFile(JsonWriter& json, const RecordingFileCheck& file) {
    json.beginObject()
        .key("side").value(mediaDirectionWord(file.side))
        .textMember("path", file.path)
        .key("checked").value(file.checked);
    if (file.checked) {
        json.key("size").value(static_cast<unsigned long long>(file.index.fileSize))
            .key("state").value(CardCheckJson::stateWord(file.index.fault))
            .key("plays").value(file.index.plays());
        optional(json, "lengthSeconds", file.index.lengthSeconds());
        json.key("videoTracks").value(file.index.videoTracks).key("audioTracks").value(file.index.audioTracks);
        writeTelemetry(json, file);
    }
    json.endObject();
}

void writeRecordings(JsonWriter& json, const CardCheckReport& report) {
    json.key("recordings").beginArray();
    for (const RecordingCheck& recording : report.recordings) {
        json.beginObject().key("name").value(recording.name).key("mode").value(mediaDivisionWord(recording.mode));
        json.key("start");
        if (recording.start) {
            json.value(CivilSeconds::dateTimeText(*recording.start));
        } else {
            json.null();
        }
        optional(json, "lengthSeconds", recording.lengthSeconds());
        optional(json, "clockDifferenceSeconds", recording.clockDifferenceSeconds);
        json.key("files").beginArray();
        for (const auto* side : {&recording.front, &recording.rear}) {
            if (*side) writeFile(json, **side);
        }
        json.endArray().endObject();
    }
    json.endArray();
}

const std::string& nameAt(const CardCheckReport& report, std::size_t index) {
    static const std::string none;
    return index < report.recordings.size() ? report.recordings[index].name : none;
}

void writeDays(JsonWriter& json, const CardCheckReport& report) {
    json.key("days").beginArray();
    for (const DayContinuity& day : report.days) {
        json.beginObject()
            .key("date").value(day.date)
            .key("continuousRecordings").value(static_cast<unsigned long long>(day.continuousRecordings))
            .key("from").value(CivilSeconds::timeText(day.firstStart))
            .key("to").value(CivilSeconds::timeText(static_cast<std::int64_t>(std::floor(day.lastEnd))));
        json.key("gaps").beginArray();
        for (const RecordingGap& gap : day.gaps) {
            json.beginObject()
                .key("from").value(CivilSeconds::dateTimeText(static_cast<std::int64_t>(std::floor(gap.from))))
                .key("to").value(CivilSeconds::dateTimeText(static_cast<std::int64_t>(std::floor(gap.to))))
                .key("seconds").value(gap.uncoveredSeconds)
                .key("spanSeconds").value(gap.seconds())
                .key("whileMoving").value(gap.whileMoving)
                .key("before").value(nameAt(report, gap.before))
                .key("after").value(nameAt(report, gap.after))
                .endObject();
        }
        json.endArray().key("overlaps").beginArray();
        for (const RecordingOverlap& overlap : day.overlaps) {
            json.beginObject()
                .key("earlier").value(nameAt(report, overlap.earlier))
                .key("later").value(nameAt(report, overlap.later))
                .key("seconds").value(overlap.seconds)
                .endObject();
        }
        json.endArray().endObject();
    }
    json.endArray();
}

void writeZone(JsonWriter& json, std::string_view prefix, const std::optional<TimeZoneSetting>& zone) {
    const std::string timeGmt = std::string(prefix) + (prefix.empty() ? "timeGmt" : "TimeGmt");
    const std::string summer = std::string(prefix) + (prefix.empty() ? "summerTime" : "SummerTime");
    json.key(timeGmt);
    zone ? json.value(zone->timeGmt) : json.null();
    json.key(summer);
    zone ? json.value(zone->summerTime) : json.null();
}

void writeClock(JsonWriter& json, const CardCheckReport& report) {
    const ClockReport& clock = report.clock;
    json.key("clock").beginObject()
        .key("verdict").value(CardCheckJson::verdictWord(clock.verdict))
        .key("recordings").value(static_cast<unsigned long long>(clock.samples.size()));
    optional(json, "medianSeconds", clock.medianSeconds);
    optional(json, "lowestSeconds", clock.lowestSeconds);
    optional(json, "highestSeconds", clock.highestSeconds);
    json.key("spreadSeconds").value(clock.spreadSeconds()).key("clockOffSeconds").value(clock.clockOffSeconds);
    writeZone(json, "", clock.setting);
    optional(json, "utcOffsetMinutes", clock.setting ? clock.setting->utcOffsetMinutes() : std::nullopt);
    writeZone(json, "suggested", clock.suggested);
    json.key("outliers").beginArray();
    for (std::size_t index : clock.outliers) json.value(nameAt(report, index));
    json.endArray().endObject();
}

void writeSettings(JsonWriter& json, const SettingsReport& settings) {
    json.key("settings").beginObject()
        .textMember("path", settings.path)
        .key("present").value(settings.present);
    optional(json, "size", settings.size);
    json.key("checksumRight").value(settings.checksumRight());
    json.key("checksumUnset").value(settings.record.has_value() && !settings.checksumRight() &&
                                    settings.storedChecksum == 0);
    json.key("storedChecksum");
    settings.record ? json.value(settings.storedChecksum) : json.null();
    json.key("computedChecksum");
    settings.record ? json.value(settings.computedChecksum) : json.null();
    json.key("split");
    if (settings.record) {
        json.beginObject()
            .key("continuous").value(settings.record->sd_mem_always_ratio)
            .key("motion").value(settings.record->sd_mem_motion_ratio)
            .key("event").value(settings.record->sd_mem_event_ratio)
            .key("valid").value(SettingsCheck::splitIsValid(*settings.record))
            .endObject();
    } else {
        json.null();
    }
    optional(json, "recordingMinutes", settings.recordingMinutes());
    writeZone(json, "", settings.timeZone());
    json.endObject();
}

void writeSpace(JsonWriter& json, const SpaceReport& space) {
    json.key("space").beginObject();
    optional(json, "capacity", space.capacity);
    optional(json, "available", space.available);
    json.key("modes").beginArray();
    for (const ModeSpace& mode : space.modes) {
        json.beginObject()
            .key("mode").value(mediaDivisionWord(mode.mode))
            .key("bytes").value(static_cast<unsigned long long>(mode.bytes))
            .key("files").value(static_cast<unsigned long long>(mode.files));
        optional(json, "sharePercent", mode.sharePercent);
        optional(json, "shareBytes", mode.shareBytes);
        json.endObject();
    }
    json.endArray().endObject();
}

void writeFindings(JsonWriter& json, const CheckFindings& findings) {
    json.key("findings").beginArray();
    for (const CheckFinding& finding : findings) {
        json.beginObject()
            .key("severity").value(severityWord(finding.severity))
            .key("key").value(finding.key)
            .textMember("subject", finding.subject)
            .textMember("text", finding.text)
            .key("values").beginObject();
        for (const FindingValue& value : finding.values) {
            json.key(value.name);
            value.number ? json.value(*value.number) : json.value(value.text);
        }
        json.endObject().endObject();
    }
    json.endArray();
}

}  // namespace

std::string_view CardCheckJson::stateWord(Mp4Fault fault) {
    switch (fault) {
    case Mp4Fault::None: return "plays";
    case Mp4Fault::Unreadable: return "unreadable";
    case Mp4Fault::Empty: return "empty";
    case Mp4Fault::NotMp4: return "notMp4";
    case Mp4Fault::Damaged: return "damaged";
    case Mp4Fault::CutOff: return "cutOff";
    case Mp4Fault::NoIndex: return "noIndex";
    case Mp4Fault::DamagedIndex: return "damagedIndex";
    case Mp4Fault::NoVideoTrack: return "noVideoTrack";
    }
    return "damaged";
}

std::string_view CardCheckJson::verdictWord(ClockVerdict verdict) {
    switch (verdict) {
    case ClockVerdict::NoGpsTime: return "noGpsTime";
    case ClockVerdict::InStep: return "inStep";
    case ClockVerdict::TimeZone: return "timeZone";
    case ClockVerdict::CameraClock: return "cameraClock";
    }
    return "noGpsTime";
}

std::string CardCheckJson::write(const CardCheckReport& report) {
    JsonWriter json;
    json.beginObject()
        .textMember("directory", report.directory)
        .key("complete").value(report.complete)
        .key("recordingLimitReached").value(report.recordingLimitReached)
        .key("worst").value(severityWord(report.worst()))
        .key("counts").beginObject()
        .key("problem").value(static_cast<unsigned long long>(report.count(Severity::Problem)))
        .key("warning").value(static_cast<unsigned long long>(report.count(Severity::Warning)))
        .key("info").value(static_cast<unsigned long long>(report.count(Severity::Info)))
        .endObject();
    writeRecordings(json, report);
    writeDays(json, report);
    writeClock(json, report);
    writeSettings(json, report.settings);
    writeSpace(json, report.space);
    writeFindings(json, report.findings);
    json.endObject();
    return json.text() + "\n";
}

}  // namespace zentrova
