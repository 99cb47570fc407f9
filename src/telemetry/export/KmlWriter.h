#pragma once

#include "telemetry/export/TrackPoint.h"

#include <string>
#include <string_view>

namespace zentrova {

// KML 2.2: the route as a LineString and the timed points as a gx:Track
// (when/gx:coord), each run of valid fixes a line and a track of its own.
class KmlWriter {
public:
    static std::string write(const TrackSegments& segments, std::string_view name);

private:
    static void appendRoute(std::string& out, const TrackSegments& segments);
    static void appendTracks(std::string& out, const TrackSegments& segments);
    static void appendLineString(std::string& out, const std::vector<TrackPoint>& segment);
    static void appendTrack(std::string& out, const std::vector<TrackPoint>& segment);
};

}  // namespace zentrova
