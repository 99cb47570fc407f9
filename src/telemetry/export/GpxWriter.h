#pragma once

#include "telemetry/export/TrackPoint.h"

#include <string>
#include <string_view>

namespace zentrova {

// GPX 1.1: one track named after the recording, one segment per run of valid
// fixes; speed (m/s) and course in the Garmin TrackPointExtension v2.
class GpxWriter {
public:
    static constexpr std::string_view kExtensionNamespace =
        "http://www.garmin.com/xmlschemas/TrackPointExtension/v2";

    static std::string write(const TrackSegments& segments, std::string_view name);

private:
    static void appendPoint(std::string& out, const TrackPoint& point);
};

}  // namespace zentrova
