#include "incident/IncidentSummaryHtml.h"

#include "check/CivilSeconds.h"
#include "common/Localization.h"
#include "telemetry/export/DecimalText.h"
#include "telemetry/export/XmlText.h"

#include <cmath>

namespace zentrova {
namespace {

std::string fixed(double value, int decimals) {
    std::string text;
    appendDecimal(text, value, decimals);
    return text;
}

std::string escaped(std::string_view text) {
    std::string out;
    appendXmlText(out, text);
    return out;
}

std::string notKnown() { return localized("incident.summary.none"); }

std::string utcText(const std::optional<std::int64_t>& milliseconds) {
    return milliseconds ? CivilSeconds::isoUtcText(*milliseconds) : notKnown();
}

std::string secondsText(const std::optional<double>& seconds) {
    return seconds ? fillFormat(localized("incident.summary.seconds_fmt"), {fixed(*seconds, 1)}) : notKnown();
}

void appendRow(std::string& out, std::string_view label, std::string_view valueHtml) {
    out += "<tr><th>";
    out += escaped(label);
    out += "</th><td>";
    out += valueHtml;
    out += "</td></tr>\n";
}

std::string placeHtml(const std::optional<FixFact>& fix) {
    if (!fix) return escaped(localized("incident.summary.no_place"));
    const std::string latitude = fixed(fix->latitude, 6);
    const std::string longitude = fixed(fix->longitude, 6);
    const std::string link = "https://www.openstreetmap.org/?mlat=" + latitude + "&mlon=" + longitude + "#map=17/" +
                             latitude + "/" + longitude;
    return "<a href=\"" + escaped(link) + "\">" +
           escaped(fillFormat(localized("incident.summary.place_fmt"),
                              {latitude, longitude, utcText(fix->utcMilliseconds)})) +
           "</a>";
}

std::string gpsTimeText(const IncidentSummary& summary) {
    if (!summary.telemetry || !summary.telemetry->gpsStartUtcMilliseconds) return localized("incident.summary.no_gps");
    const std::string utc = CivilSeconds::isoUtcText(*summary.telemetry->gpsStartUtcMilliseconds);
    const auto local = summary.gpsStartLocal();
    if (!local) return fillFormat(localized("incident.summary.by_gps_utc_fmt"), {utc});
    return fillFormat(localized("incident.summary.by_gps_fmt"),
                      {utc, CivilSeconds::dateTimeText(*local), summary.timeZone->describe()});
}

std::string strongestText(const IncidentSummary& summary) {
    const auto& g = summary.telemetry ? summary.telemetry->strongest : std::nullopt;
    if (!g) return notKnown();
    const auto camera = g->atSeconds ? summary.cameraTimeAt(*g->atSeconds) : std::nullopt;
    return fillFormat(localized("incident.summary.strongest_fmt"),
                      {fixed(g->magnitude, 2), fixed(g->x, 2), fixed(g->y, 2), fixed(g->z, 2),
                       secondsText(g->atSeconds), camera ? CivilSeconds::dateTimeText(*camera) : notKnown()});
}

std::string fastestText(const IncidentSummary& summary) {
    const auto& fix = summary.telemetry ? summary.telemetry->fastest : std::nullopt;
    if (!fix) return notKnown();
    return fillFormat(localized("incident.summary.fastest_fmt"),
                      {fixed(fix->kilometresPerHour, 1), utcText(fix->utcMilliseconds), secondsText(fix->atSeconds)});
}

std::string clockText(const IncidentSummary& summary) {
    const std::string recording = summary.clockDifferenceSeconds ? fixed(*summary.clockDifferenceSeconds, 1) : notKnown();
    if (!summary.cardClock || !summary.cardClock->medianSeconds) {
        return fillFormat(localized("incident.summary.clock_recording_fmt"), {recording});
    }
    const ClockReport& clock = *summary.cardClock;
    return fillFormat(localized("incident.summary.clock_fmt"),
                      {recording, fixed(*clock.medianSeconds, 1), std::to_string(clock.samples.size()),
                       fixed(clock.spreadSeconds(), 1)});
}

void appendFiles(std::string& out, std::span<const PackagedFile> files) {
    out += "<h2>" + escaped(localized("incident.summary.files")) + "</h2>\n<table class=\"files\">\n<tr><th>" +
           escaped(localized("incident.summary.file_name")) + "</th><th>" +
           escaped(localized("incident.summary.file_role")) + "</th><th>" +
           escaped(localized("incident.summary.file_size")) + "</th><th>" +
           escaped(localized("incident.summary.file_sha256")) + "</th></tr>\n";
    for (const PackagedFile& file : files) {
        out += "<tr><td><a href=\"" + escaped(file.name) + "\">" + escaped(file.name) + "</a></td><td>" +
               escaped(IncidentSummaryHtml::roleText(file.role)) + "</td><td>" +
               std::to_string(file.size) + "</td><td><code>" + file.sha256 + "</code></td></tr>\n";
    }
    out += "</table>\n<p>" + escaped(localized("incident.summary.verify")) + "</p>\n";
}

}  // namespace

std::string IncidentSummaryHtml::roleText(std::string_view role) {
    if (role == "frontVideo") return localized("incident.role.front_video");
    if (role == "rearVideo") return localized("incident.role.rear_video");
    if (role == "routeGpx") return localized("incident.role.route_gpx");
    if (role == "routeKml") return localized("incident.role.route_kml");
    if (role == "telemetryCsv") return localized("incident.role.telemetry_csv");
    if (role == "summaryJson") return localized("incident.role.summary_json");
    if (role == "capture") return localized("incident.role.capture");
    return std::string(role);
}

std::string IncidentSummaryHtml::write(const IncidentSummary& summary, std::span<const PackagedFile> files) {
    const std::string title = fillFormat(localized("incident.summary.title_fmt"), {summary.recording});
    std::string out =
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + escaped(title) +
        "</title>\n<style>body{font-family:sans-serif;margin:2em}th{text-align:left;padding-right:1.5em;"
        "vertical-align:top}td{padding:0.15em 1em 0.15em 0}code{font-size:0.9em}</style>\n</head>\n<body>\n<h1>" +
        escaped(title) + "</h1>\n<table>\n";
    appendRow(out, localized("incident.summary.recording"), escaped(summary.recording));
    appendRow(out, localized("incident.summary.mode"), escaped(localized(mediaDivisionLabelKey(summary.mode))));
    appendRow(out, localized("incident.summary.by_file_name"),
              escaped(summary.nameStart ? CivilSeconds::dateTimeText(*summary.nameStart) : notKnown()));
    appendRow(out, localized("incident.summary.by_gps"), escaped(gpsTimeText(summary)));
    appendRow(out, localized("incident.summary.length"), escaped(secondsText(summary.lengthSeconds)));
    appendRow(out, localized("incident.summary.start"), placeHtml(summary.telemetry ? summary.telemetry->first : std::nullopt));
    appendRow(out, localized("incident.summary.end"), placeHtml(summary.telemetry ? summary.telemetry->last : std::nullopt));
    appendRow(out, localized("incident.summary.fastest"), escaped(fastestText(summary)));
    appendRow(out, localized("incident.summary.strongest"), escaped(strongestText(summary)));
    appendRow(out, localized("incident.summary.camera_clock"), escaped(clockText(summary)));
    out += "</table>\n";
    appendFiles(out, files);
    out += "<p>" +
           escaped(fillFormat(localized("incident.summary.created_fmt"),
                              {CivilSeconds::isoUtcText(summary.createdUtcMilliseconds), summary.createdBy})) +
           "</p>\n</body>\n</html>\n";
    return out;
}

}  // namespace zentrova
