#include "telemetry/export/TelemetryExporter.h"

#include "support/DriveSample.h"
#include "support/TelemetryExportSamples.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {
using test::extract;

TEST(TelemetryExporterTest, NoRecordsNoExport) {
    ORVBlackBoxData empty;
    for (auto format : {TelemetryExportFormat::Gpx, TelemetryExportFormat::Kml, TelemetryExportFormat::Csv}) {
        EXPECT_FALSE(TelemetryExporter::exportTelemetry(format, empty, "x"));
    }
    const ORVBlackBoxData data = extract(test::driveFile().bytes);
    EXPECT_EQ(TelemetryExporter::exportTelemetry(TelemetryExportFormat::Gpx, data, "x")->points, 4u);
    EXPECT_EQ(TelemetryExporter::exportTelemetry(TelemetryExportFormat::Csv, data, "x")->points, 8u);
}

}  // namespace
}  // namespace zentrova
