#pragma once

#include "support/DriveSample.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/TelemetryRow.h"
#include "telemetry/export/TrackPointBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace zentrova::test {

// The telemetry read from a file's bytes, which must hold some.
inline ORVBlackBoxData extract(const Bytes& bytes) {
    MemoryByteSource source(bytes);
    ORVBlackBoxData data;
    EXPECT_TRUE(data.ExtractStreamInformation(source));
    return data;
}

// The rows of the simulated drive.
inline std::vector<TelemetryRow> driveRows() {
    const auto rows = TrackPointBuilder::rows(extract(driveFile().bytes));
    EXPECT_TRUE(rows.has_value());
    return rows.value_or(std::vector<TelemetryRow>{});
}

// The track points of a recording's telemetry, one per fix time.
inline TrackSegments segmentsOf(const ORVBlackBoxData& data) {
    const auto rows = TrackPointBuilder::rows(data);
    EXPECT_TRUE(rows.has_value());
    return TrackPointBuilder::segments(rows.value_or(std::vector<TelemetryRow>{}), data.m_NMEAs);
}

inline TrackSegments driveSegments() { return segmentsOf(extract(driveFile().bytes)); }

}  // namespace zentrova::test
