#include "check/TelemetryFacts.h"

#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/TrackPointBuilder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zentrova {
namespace {

constexpr double kKilometresPerHourPerMetreSecond = 3.6;

std::optional<double> placeOf(std::size_t record, std::optional<double> secondsPerRecord) {
    if (!secondsPerRecord) return std::nullopt;
    return static_cast<double>(record) * *secondsPerRecord;
}

FixFact factOf(const TrackPoint& point, std::optional<double> secondsPerRecord) {
    FixFact fact;
    fact.latitude = point.latitude;
    fact.longitude = point.longitude;
    fact.utcMilliseconds = point.utcMilliseconds;
    fact.kilometresPerHour = point.speedMetresPerSecond * kKilometresPerHourPerMetreSecond;
    fact.record = point.record;
    fact.atSeconds = placeOf(point.record, secondsPerRecord);
    return fact;
}

std::int64_t median(std::vector<std::int64_t> values) {
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    const std::int64_t upper = values[middle];
    if (values.size() % 2 == 1) return upper;
    const std::int64_t lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle));
    return lower + (upper - lower) / 2;
}

}  // namespace

TelemetryFacts TelemetryFacts::of(const ORVBlackBoxData& data, std::optional<double> lengthSeconds) {
    TelemetryFacts facts;
    facts.records = data.m_Times.size();
    if (lengthSeconds && *lengthSeconds > 0 && facts.records > 0) {
        facts.secondsPerRecord = *lengthSeconds / static_cast<double>(facts.records);
    }

    for (std::size_t k = 0; k < data.m_GSensors.size(); ++k) {
        const ORVGSensor& sample = data.m_GSensors[k];
        const double x = sample.x(), y = sample.y(), z = sample.z();
        const double magnitude = std::sqrt(x * x + y * y + z * z);
        if (facts.strongest && !(magnitude > facts.strongest->magnitude)) continue;
        facts.strongest = GSensorFact{x, y, z, magnitude, k, placeOf(k, facts.secondsPerRecord)};
    }

    const auto rows = TrackPointBuilder::rows(data);
    if (!rows) return facts;
    const TrackSegments segments = TrackPointBuilder::segments(*rows, data.m_NMEAs);
    facts.validFixes = TrackPointBuilder::pointCount(segments);
    std::vector<std::int64_t> starts;
    for (const auto& segment : segments) {
        for (const TrackPoint& point : segment) {
            const FixFact fact = factOf(point, facts.secondsPerRecord);
            if (!facts.first) facts.first = fact;
            facts.last = fact;
            if (!facts.fastest || fact.kilometresPerHour > facts.fastest->kilometresPerHour) facts.fastest = fact;
            // The fix time arrived with the record that brought it, not with
            // the later ones that completed the fix.
            if (point.utcMilliseconds && facts.secondsPerRecord) {
                const double place = static_cast<double>(point.timeRecord) * *facts.secondsPerRecord;
                starts.push_back(*point.utcMilliseconds - std::llround(place * 1000.0));
            }
        }
    }
    if (!starts.empty()) facts.gpsStartUtcMilliseconds = median(std::move(starts));
    return facts;
}

}  // namespace zentrova
