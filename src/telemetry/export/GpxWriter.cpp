#include "telemetry/export/GpxWriter.h"

#include "telemetry/export/DecimalText.h"
#include "telemetry/export/TrackPointBuilder.h"
#include "telemetry/export/XmlText.h"

#include <cmath>

namespace zentrova {
namespace {

constexpr std::string_view kHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"zentrova-cli\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd "
    "http://www.garmin.com/xmlschemas/TrackPointExtension/v2 "
    "http://www.garmin.com/xmlschemas/TrackPointExtensionv2.xsd\">\n";

// The schema's ranges: hdop and speed are non-negative, course lies in [0, 360).
bool fitsHdop(double value) { return std::isfinite(value) && value >= 0.0; }
bool fitsSpeed(double value) { return std::isfinite(value) && value >= 0.0; }
bool fitsCourse(double value) { return std::isfinite(value) && value >= 0.0 && value < 360.0; }

}  // namespace

void GpxWriter::appendPoint(std::string& out, const TrackPoint& point) {
    out += "      <trkpt lat=\"";
    appendDecimal(out, point.latitude);
    out += "\" lon=\"";
    appendDecimal(out, point.longitude);
    out += "\">";
    // Children in the order of the schema's wptType: ele, time, ..., sat,
    // hdop, ..., extensions. The camera's fix has no elevation.
    if (point.time) {
        out += "<time>";
        out += *point.time;
        out += "</time>";
    }
    out += "<sat>";
    out += std::to_string(point.satellites);
    out += "</sat>";
    if (fitsHdop(point.hdop)) {
        out += "<hdop>";
        appendReading(out, point.hdop);
        out += "</hdop>";
    }
    const bool speed = fitsSpeed(point.speedMetresPerSecond);
    const bool course = fitsCourse(point.course);
    if (speed || course) {
        out += "<extensions><gpxtpx:TrackPointExtension>";
        if (speed) {
            out += "<gpxtpx:speed>";
            appendDecimal(out, point.speedMetresPerSecond, 3);
            out += "</gpxtpx:speed>";
        }
        if (course) {
            out += "<gpxtpx:course>";
            appendReading(out, point.course);
            out += "</gpxtpx:course>";
        }
        out += "</gpxtpx:TrackPointExtension></extensions>";
    }
    out += "</trkpt>\n";
}

std::string GpxWriter::write(const TrackSegments& segments, std::string_view name) {
    std::string out;
    out.reserve(512 + TrackPointBuilder::pointCount(segments) * 260);
    out += kHeader;
    out += "  <metadata><name>";
    appendXmlText(out, name);
    out += "</name></metadata>\n  <trk>\n    <name>";
    appendXmlText(out, name);
    out += "</name>\n";
    for (const auto& segment : segments) {
        out += "    <trkseg>\n";
        for (const TrackPoint& point : segment) appendPoint(out, point);
        out += "    </trkseg>\n";
    }
    out += "  </trk>\n</gpx>\n";
    return out;
}

}  // namespace zentrova
