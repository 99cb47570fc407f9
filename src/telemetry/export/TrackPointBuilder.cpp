#include "telemetry/export/TrackPointBuilder.h"

#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/ExportablePosition.h"
#include "telemetry/export/UtcTimeText.h"

namespace zentrova {
namespace {

bool isSentenceEnd(char c) { return c == '\0' || c == '\n' || c == '\r'; }

std::optional<TrackPoint> pointOf(const TelemetryRow& row) {
    if (!row.fix) return std::nullopt;
    const ORVGpsData& fix = *row.fix;
    const auto position = exportablePosition(fix);
    if (!position) return std::nullopt;
    TrackPoint point;
    point.record = row.record;
    point.latitude = position->latitude;
    point.longitude = position->longitude;
    point.time = utcTimeText(fix.Now);
    point.satellites = fix.SatelliteUsedCount;
    point.hdop = fix.HDOP;
    point.speedMetresPerSecond = fix.SpeedOverGround * TrackPointBuilder::kMetresPerSecondPerKnot;
    point.course = fix.CourseOverGround;
    return point;
}

}  // namespace

std::uint32_t TrackPointBuilder::sentencesIn(std::string_view text) {
    // The same split as the extraction's: "$" starts a sentence, a
    // terminator ends one, and only "$G" sentences are parsed.
    std::uint32_t count = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '$') {
            start = i;
        } else if (isSentenceEnd(text[i])) {
            if (start < i && text[start] == '$' && text[start + 1] == 'G') ++count;
            start = i + 1;
        }
    }
    return count;
}

std::optional<std::vector<TelemetryRow>> TrackPointBuilder::rows(const ORVBlackBoxData& data) {
    const std::size_t records = data.m_Times.size();
    if (data.m_GSensors.size() != records || data.m_vGpsData.size() != records) return std::nullopt;
    std::vector<TelemetryRow> rows;
    rows.reserve(records);
    std::size_t snapshots = 0;
    for (std::size_t k = 0; k < records; ++k) {
        TelemetryRow row;
        row.record = k;
        row.timeValue = data.m_Times[k];
        row.gsensor = data.m_GSensors[k];
        row.unit = data.m_vGpsData[k].unit();
        row.sentences = sentencesIn(data.m_vGpsData[k].gpsString());
        snapshots += row.sentences;
        if (snapshots > data.m_NMEAs.size()) return std::nullopt;
        if (snapshots > 0) row.fix = data.m_NMEAs[snapshots - 1];
        rows.push_back(std::move(row));
    }
    if (snapshots != data.m_NMEAs.size()) return std::nullopt;
    return rows;
}

TrackSegments TrackPointBuilder::segments(const std::vector<TelemetryRow>& rows) {
    TrackSegments segments;
    bool inRun = false;
    for (const TelemetryRow& row : rows) {
        if (row.sentences == 0) continue;
        auto point = pointOf(row);
        if (!point) {
            inRun = false;
            continue;
        }
        if (!inRun) segments.emplace_back();
        segments.back().push_back(std::move(*point));
        inRun = true;
    }
    return segments;
}

std::size_t TrackPointBuilder::pointCount(const TrackSegments& segments) {
    std::size_t count = 0;
    for (const auto& segment : segments) count += segment.size();
    return count;
}

}  // namespace zentrova
