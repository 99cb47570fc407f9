#include "telemetry/export/KmlWriter.h"

#include "support/TelemetryExportSamples.h"

#include <gtest/gtest.h>

#include <string>

namespace zentrova {
namespace {
using test::driveSegments;

TEST(KmlWriterTest, RouteAndTimedTrackPerSegment) {
    const std::string kml = KmlWriter::write(driveSegments(), "drive");
    EXPECT_NE(kml.find("<LineString><tessellate>1</tessellate><coordinates>11.516666666666667,48.11730143229167 "),
              std::string::npos);
    EXPECT_NE(kml.find("<gx:MultiTrack>"), std::string::npos);
    EXPECT_NE(kml.find("<when>2024-03-12T08:15:01.250Z</when>"), std::string::npos);
    EXPECT_NE(kml.find("<gx:coord>-122.5 -37.75"), std::string::npos);

    TrackPoint untimed;
    untimed.latitude = 1;
    untimed.longitude = 2;
    const std::string routeOnly = KmlWriter::write({{untimed, untimed}}, "x");
    EXPECT_NE(routeOnly.find("<coordinates>2,1 2,1</coordinates>"), std::string::npos);
    EXPECT_EQ(routeOnly.find("gx:Track"), std::string::npos);
}

}  // namespace
}  // namespace zentrova
