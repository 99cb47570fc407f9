#include "telemetry/export/TrackPointBuilder.h"

#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/ExportablePosition.h"
#include "telemetry/export/UtcTimeText.h"

namespace zentrova {
namespace {

bool isSentenceEnd(char c) { return c == '\0' || c == '\n' || c == '\r'; }

bool samePlace(const GeoPosition& a, const GeoPosition& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude;
}

TrackPoint pointOf(const ORVGpsData& fix, const GeoPosition& position, std::size_t record, std::size_t timeRecord) {
    TrackPoint point;
    point.record = record;
    point.timeRecord = timeRecord;
    point.latitude = position.latitude;
    point.longitude = position.longitude;
    point.time = utcTimeText(fix.Now);
    point.utcMilliseconds = utcMilliseconds(fix.Now);
    point.satellites = fix.SatelliteUsedCount;
    point.hdop = fix.HDOP;
    point.speedMetresPerSecond = fix.SpeedOverGround * TrackPointBuilder::kMetresPerSecondPerKnot;
    point.course = fix.CourseOverGround;
    return point;
}

// Walks the fix snapshots in order and keeps the last one of each run with
// the same fix time and position.
class FixSecondCollector {
public:
    explicit FixSecondCollector(TrackSegments& segments) : m_segments(segments) {}

    void add(const ORVGpsData& fix, std::size_t record) {
        if (!m_seenTime || !(fix.Now == m_time)) {
            m_seenTime = true;
            m_time = fix.Now;
            m_timeRecord = record;
            m_placeAtTimeStart = fixPosition(fix);
        }
        const auto position = exportablePosition(fix);
        if (!position) {
            flush();
            m_inSegment = false;
            return;
        }
        if (m_pending) {
            if (!(fix.Now == m_pendingTime)) {
                flush();
            } else if (!samePlace(*position, m_pendingPosition)) {
                // The new time's first sentences still carry the place of
                // the time before; that state is no point of its own.
                if (samePlace(m_pendingPosition, m_placeAtTimeStart)) {
                    m_pending.reset();
                } else {
                    flush();
                }
            }
        }
        m_pending = pointOf(fix, *position, record, m_timeRecord);
        m_pendingTime = fix.Now;
        m_pendingPosition = *position;
    }

    void flush() {
        if (!m_pending) return;
        if (!m_inSegment) m_segments.emplace_back();
        m_inSegment = true;
        m_segments.back().push_back(std::move(*m_pending));
        m_pending.reset();
    }

private:
    TrackSegments& m_segments;
    bool m_inSegment = false;
    bool m_seenTime = false;
    SYSTEMTIME m_time{};
    std::size_t m_timeRecord = 0;
    std::optional<TrackPoint> m_pending;
    SYSTEMTIME m_pendingTime{};
    GeoPosition m_pendingPosition;
    GeoPosition m_placeAtTimeStart;
};

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
        row.firstSnapshot = snapshots;
        snapshots += row.sentences;
        if (snapshots > data.m_NMEAs.size()) return std::nullopt;
        if (snapshots > 0) row.fix = data.m_NMEAs[snapshots - 1];
        rows.push_back(std::move(row));
    }
    if (snapshots != data.m_NMEAs.size()) return std::nullopt;
    return rows;
}

TrackSegments TrackPointBuilder::segments(const std::vector<TelemetryRow>& rows,
                                          std::span<const ORVGpsData> snapshots) {
    TrackSegments segments;
    FixSecondCollector collector(segments);
    for (const TelemetryRow& row : rows) {
        for (std::size_t i = 0; i < row.sentences; ++i) {
            const std::size_t index = row.firstSnapshot + i;
            // Rows made from these snapshots always fit; others end here.
            if (index >= snapshots.size()) {
                collector.flush();
                return segments;
            }
            collector.add(snapshots[index], row.record);
        }
    }
    collector.flush();
    return segments;
}

std::size_t TrackPointBuilder::pointCount(const TrackSegments& segments) {
    std::size_t count = 0;
    for (const auto& segment : segments) count += segment.size();
    return count;
}

}  // namespace zentrova
