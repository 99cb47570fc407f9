#pragma once

// Front recordings for the benchmarks, built in the camera's box layout:
// one telemetry record per chunk, RMC and GGA every record and GSA on every
// tenth, along a straight road at 50 km/h.

#include "support/Mp4TelemetryBuilder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace zentrova::bench {

// The fix time tenths of a second after startTime (seconds since 1970, UTC).
inline std::string nmeaTime(std::uint32_t startTime, int tenths) {
    char text[16];
    const unsigned seconds = startTime % 86400 + static_cast<unsigned>(tenths / 10);
    std::snprintf(text, sizeof text, "%02u%02u%02u.%03d", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60,
                  tenths % 10 * 100);
    return text;
}

inline std::vector<test::TelemetryRecord> driveRecords(int count, std::uint32_t startTime) {
    std::vector<test::TelemetryRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        char rmc[96];
        char gga[80];
        const double minutes = 7.038 + i * 0.00075;
        std::snprintf(rmc, sizeof rmc, "$GPRMC,%s,A,48%06.3f,N,01131.000,E,027.0,000.0,120324,,*00\r\n",
                      nmeaTime(startTime, i).c_str(), minutes);
        std::snprintf(gga, sizeof gga, "$GPGGA,%s,48%06.3f,N,01131.000,E,1,08,0.9*00\r\n",
                      nmeaTime(startTime, i).c_str(), minutes);
        std::string text = std::string(rmc) + gga;
        if (i % 10 == 0) text = std::string(rmc) + "$GNGSA,A,3,01,02,03,04*00\r\n";
        test::TelemetryRecord record;
        record.time = startTime + static_cast<std::uint32_t>(i / 10);
        record.x = (i * 37) % 200 - 100;
        record.y = (i * 53) % 120 - 60;
        record.z = 256 + (i * 11) % 40 - 20;
        record.unit = '9';
        record.text = text.substr(0, 128);
        records.push_back(record);
    }
    return records;
}

// gapAfterChunk bytes of stand-in video follow each chunk; with
// videoSeconds the index says the file holds that long a video.
inline test::Bytes frontFile(int records, std::uint32_t startTime = 1710231300, std::size_t gapAfterChunk = 0,
                             std::optional<double> videoSeconds = std::nullopt) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.gapAfterChunk = gapAfterChunk;
    builder.videoSeconds = videoSeconds;
    builder.records = driveRecords(records, startTime);
    return builder.build().bytes;
}

// A rear file: the index of a video that long, no telemetry records.
inline test::Bytes rearFile(double videoSeconds) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.videoSeconds = videoSeconds;
    return builder.build().bytes;
}

}  // namespace zentrova::bench
