#pragma once

// Front recordings for the benchmarks, built in the camera's box layout:
// one telemetry record per chunk, RMC and GGA every record and GSA on every
// tenth, along a straight road at 50 km/h.

#include "support/Mp4TelemetryBuilder.h"

#include <cstdio>
#include <string>
#include <vector>

namespace zentrova::bench {

inline std::string nmeaTime(int tenths) {
    char text[16];
    const int seconds = tenths / 10;
    std::snprintf(text, sizeof text, "%02d%02d%02d.%03d", 8 + seconds / 3600, seconds / 60 % 60, seconds % 60,
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
                      nmeaTime(i).c_str(), minutes);
        std::snprintf(gga, sizeof gga, "$GPGGA,%s,48%06.3f,N,01131.000,E,1,08,0.9*00\r\n", nmeaTime(i).c_str(),
                      minutes);
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

// gapAfterChunk bytes of stand-in video follow each chunk.
inline test::Bytes frontFile(int records, std::uint32_t startTime = 1710231300, std::size_t gapAfterChunk = 0) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.gapAfterChunk = gapAfterChunk;
    builder.records = driveRecords(records, startTime);
    return builder.build().bytes;
}

}  // namespace zentrova::bench
