#include "telemetry/export/KmlWriter.h"

#include "telemetry/export/DecimalText.h"
#include "telemetry/export/TrackPointBuilder.h"
#include "telemetry/export/XmlText.h"

#include <algorithm>

namespace zentrova {
namespace {

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
    "<Document>\n";

bool hasTime(const TrackPoint& point) { return point.time.has_value(); }

std::size_t timedSegmentCount(const TrackSegments& segments) {
    return static_cast<std::size_t>(std::count_if(segments.begin(), segments.end(), [](const auto& segment) {
        return std::any_of(segment.begin(), segment.end(), hasTime);
    }));
}

}  // namespace

void KmlWriter::appendLineString(std::string& out, const std::vector<TrackPoint>& segment) {
    out += "<LineString><tessellate>1</tessellate><coordinates>";
    bool first = true;
    for (const TrackPoint& point : segment) {
        if (!first) out += ' ';
        first = false;
        appendDecimal(out, point.longitude);
        out += ',';
        appendDecimal(out, point.latitude);
    }
    out += "</coordinates></LineString>\n";
}

void KmlWriter::appendTrack(std::string& out, const std::vector<TrackPoint>& segment) {
    // A track needs as many times as coordinates, so points without a time
    // are on the route only.
    out += "<gx:Track>\n";
    for (const TrackPoint& point : segment) {
        if (!hasTime(point)) continue;
        out += "<when>";
        out += *point.time;
        out += "</when>\n";
    }
    for (const TrackPoint& point : segment) {
        if (!hasTime(point)) continue;
        out += "<gx:coord>";
        appendDecimal(out, point.longitude);
        out += ' ';
        appendDecimal(out, point.latitude);
        out += " 0</gx:coord>\n";
    }
    out += "</gx:Track>\n";
}

void KmlWriter::appendRoute(std::string& out, const TrackSegments& segments) {
    if (segments.empty()) return;
    out += "<Placemark><name>Route</name>\n";
    if (segments.size() == 1) {
        appendLineString(out, segments.front());
    } else {
        out += "<MultiGeometry>\n";
        for (const auto& segment : segments) appendLineString(out, segment);
        out += "</MultiGeometry>\n";
    }
    out += "</Placemark>\n";
}

void KmlWriter::appendTracks(std::string& out, const TrackSegments& segments) {
    const std::size_t timed = timedSegmentCount(segments);
    if (timed == 0) return;
    out += "<Placemark><name>Track</name>\n";
    if (timed > 1) out += "<gx:MultiTrack>\n";
    for (const auto& segment : segments) {
        if (std::any_of(segment.begin(), segment.end(), hasTime)) appendTrack(out, segment);
    }
    if (timed > 1) out += "</gx:MultiTrack>\n";
    out += "</Placemark>\n";
}

std::string KmlWriter::write(const TrackSegments& segments, std::string_view name) {
    std::string out;
    out.reserve(512 + TrackPointBuilder::pointCount(segments) * 140);
    out += kHeader;
    out += "<name>";
    appendXmlText(out, name);
    out += "</name>\n";
    appendRoute(out, segments);
    appendTracks(out, segments);
    out += "</Document>\n</kml>\n";
    return out;
}

}  // namespace zentrova
