#include "incident/IncidentSummaryJson.h"

#include "check/CardCheckJson.h"
#include "check/CivilSeconds.h"
#include "common/JsonWriter.h"

namespace zentrova {
namespace {

void timeOrNull(JsonWriter& json, std::string_view key, const std::optional<std::int64_t>& utcMilliseconds) {
    json.key(key);
    utcMilliseconds ? json.value(CivilSeconds::isoUtcText(*utcMilliseconds)) : json.null();
}

void localOrNull(JsonWriter& json, std::string_view key, const std::optional<std::int64_t>& seconds) {
    json.key(key);
    seconds ? json.value(CivilSeconds::dateTimeText(*seconds)) : json.null();
}

void numberOrNull(JsonWriter& json, std::string_view key, const std::optional<double>& value) {
    json.key(key);
    value ? json.value(*value) : json.null();
}

// A fix as an object; the fastest one also names its speed.
void writeFix(JsonWriter& json, std::string_view key, const std::optional<FixFact>& fix, bool withSpeed) {
    json.key(key);
    if (!fix) {
        json.null();
        return;
    }
    json.beginObject();
    if (withSpeed) json.key("kilometresPerHour").value(fix->kilometresPerHour);
    json.key("latitude").value(fix->latitude).key("longitude").value(fix->longitude);
    timeOrNull(json, "utc", fix->utcMilliseconds);
    numberOrNull(json, "atSeconds", fix->atSeconds);
    json.endObject();
}

void writeStrongest(JsonWriter& json, const IncidentSummary& summary) {
    json.key("strongestGSensor");
    const auto& g = summary.telemetry ? summary.telemetry->strongest : std::nullopt;
    if (!g) {
        json.null();
        return;
    }
    json.beginObject()
        .key("g").value(g->magnitude)
        .key("x").value(g->x)
        .key("y").value(g->y)
        .key("z").value(g->z)
        .key("record").value(static_cast<unsigned long long>(g->record));
    numberOrNull(json, "atSeconds", g->atSeconds);
    localOrNull(json, "cameraTime", g->atSeconds ? summary.cameraTimeAt(*g->atSeconds) : std::nullopt);
    timeOrNull(json, "utc", g->atSeconds ? summary.gpsUtcMillisecondsAt(*g->atSeconds) : std::nullopt);
    json.endObject();
}

void writeClock(JsonWriter& json, const IncidentSummary& summary) {
    json.key("cameraClock").beginObject();
    numberOrNull(json, "recordingDifferenceSeconds", summary.clockDifferenceSeconds);
    json.textMember("cardDirectory", summary.cardDirectory);
    if (summary.cardClock) {
        const ClockReport& clock = *summary.cardClock;
        json.key("cardVerdict").value(CardCheckJson::verdictWord(clock.verdict));
        numberOrNull(json, "cardMedianSeconds", clock.medianSeconds);
        json.key("cardSpreadSeconds").value(clock.spreadSeconds());
        json.key("cardRecordings").value(static_cast<unsigned long long>(clock.samples.size()));
    } else {
        json.key("cardVerdict").null().key("cardMedianSeconds").null().key("cardSpreadSeconds").null();
        json.key("cardRecordings").null();
    }
    json.endObject();
}

}  // namespace

std::string IncidentSummaryJson::write(const IncidentSummary& summary, std::span<const PackagedFile> files) {
    JsonWriter json;
    json.beginObject()
        .key("recording").value(summary.recording)
        .key("mode").value(mediaDivisionWord(summary.mode))
        .key("createdBy").value(summary.createdBy);
    timeOrNull(json, "createdUtc", summary.createdUtcMilliseconds);
    json.key("files").beginArray();
    for (const PackagedFile& file : files) {
        json.beginObject()
            .key("name").value(file.name)
            .key("role").value(file.role)
            .key("size").value(static_cast<unsigned long long>(file.size))
            .key("sha256").value(file.sha256)
            .endObject();
    }
    json.endArray();
    json.key("byFileName").beginObject();
    json.key("date");
    summary.nameStart ? json.value(CivilSeconds::dateText(*summary.nameStart)) : json.null();
    json.key("time");
    summary.nameStart ? json.value(CivilSeconds::timeText(*summary.nameStart)) : json.null();
    json.endObject();
    json.key("byGps").beginObject();
    timeOrNull(json, "startUtc", summary.telemetry ? summary.telemetry->gpsStartUtcMilliseconds : std::nullopt);
    localOrNull(json, "startLocal", summary.gpsStartLocal());
    json.key("timeGmt");
    summary.timeZone ? json.value(summary.timeZone->timeGmt) : json.null();
    json.key("summerTime");
    summary.timeZone ? json.value(summary.timeZone->summerTime) : json.null();
    json.endObject();
    numberOrNull(json, "lengthSeconds", summary.lengthSeconds);
    json.key("telemetryRecords").value(static_cast<unsigned long long>(summary.telemetry ? summary.telemetry->records : 0));
    json.key("validFixes").value(static_cast<unsigned long long>(summary.telemetry ? summary.telemetry->validFixes : 0));
    writeFix(json, "start", summary.telemetry ? summary.telemetry->first : std::nullopt, false);
    writeFix(json, "end", summary.telemetry ? summary.telemetry->last : std::nullopt, false);
    writeFix(json, "fastest", summary.telemetry ? summary.telemetry->fastest : std::nullopt, true);
    writeStrongest(json, summary);
    writeClock(json, summary);
    json.endObject();
    return json.text() + "\n";
}

}  // namespace zentrova
