#include "telemetry/export/GpxWriter.h"

#include "support/TelemetryExportSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::driveSegments;

// The element names of the direct children of each <trkpt>.
std::vector<std::vector<std::string>> trackPointChildren(const std::string& gpx) {
    std::vector<std::vector<std::string>> points;
    std::size_t at = 0;
    while ((at = gpx.find("<trkpt ", at)) != std::string::npos) {
        const std::size_t end = gpx.find("</trkpt>", at);
        std::vector<std::string> names;
        int depth = 0;
        for (std::size_t i = gpx.find('>', at) + 1; i < end; ++i) {
            if (gpx[i] != '<') continue;
            const bool closing = gpx[i + 1] == '/';
            const std::size_t nameEnd = gpx.find_first_of(" >/", i + 1 + (closing ? 1 : 0));
            if (closing) {
                --depth;
            } else {
                if (depth == 0) names.push_back(gpx.substr(i + 1, nameEnd - i - 1));
                ++depth;
            }
        }
        points.push_back(names);
        at = end;
    }
    return points;
}

TEST(GpxWriterTest, TrackPointChildrenInTheSchemaOrder) {
    const std::vector<std::string> schemaOrder = {
        "ele",  "time", "magvar", "geoidheight", "name", "cmt", "desc", "src",           "link",   "sym",
        "type", "fix",  "sat",    "hdop",        "vdop", "pdop", "ageofdgpsdata", "dgpsid", "extensions"};
    const std::string gpx = GpxWriter::write(driveSegments(), "drive");
    const auto points = trackPointChildren(gpx);
    ASSERT_EQ(points.size(), 4u);
    for (const auto& names : points) {
        EXPECT_EQ(names, (std::vector<std::string>{"time", "sat", "hdop", "extensions"}));
        std::size_t last = 0;
        for (const std::string& name : names) {
            const auto position = std::find(schemaOrder.begin(), schemaOrder.end(), name);
            ASSERT_NE(position, schemaOrder.end()) << name;
            const auto index = static_cast<std::size_t>(position - schemaOrder.begin());
            EXPECT_GE(index, last) << name;
            last = index;
        }
    }
    EXPECT_NE(gpx.find("<extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>11.524</gpxtpx:speed>"
                       "<gpxtpx:course>84.4</gpxtpx:course></gpxtpx:TrackPointExtension></extensions>"),
              std::string::npos);
    EXPECT_NE(gpx.find("xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\""), std::string::npos);
    EXPECT_NE(gpx.find("<trkpt lat=\"48.11730143229167\" lon=\"11.516666666666667\">"), std::string::npos);
}

TEST(GpxWriterTest, ValuesOutsideTheSchemaRangesAreLeftOut) {
    TrackPoint point;
    point.latitude = 1;
    point.longitude = 2;
    point.hdop = -1;
    point.speedMetresPerSecond = -0.5;
    point.course = 360;
    const std::string gpx = GpxWriter::write({{point}}, "a&b<c>\xff");
    EXPECT_NE(gpx.find("<trkpt lat=\"1\" lon=\"2\"><sat>0</sat></trkpt>"), std::string::npos) << gpx;
    EXPECT_NE(gpx.find("<name>a&amp;b&lt;c&gt;?</name>"), std::string::npos);
    const std::string empty = GpxWriter::write({}, "none");
    EXPECT_EQ(empty.find("<trkseg>"), std::string::npos);
    EXPECT_NE(empty.find("<trk>"), std::string::npos);
}

}  // namespace
}  // namespace zentrova
