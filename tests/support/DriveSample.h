#pragma once

// A short drive in telemetry records, with the cases an export must get
// right: a record without a sentence, milliseconds in the fix time, a
// receiver that loses its fix and finds it again in the other hemispheres.

#include "support/Mp4TelemetryBuilder.h"

#include <string>
#include <vector>

namespace zentrova::test {

// Text that fills the whole text field, so no NUL ends it.
inline std::string unterminated(std::string text) {
    text.resize(128, '0');
    return text;
}

inline std::vector<TelemetryRecord> driveRecords() {
    return {
        {1710231299, 0, 0, 0, 256, 0, '9', "", 0},
        {1710231300, 0, 256, -128, 1, 0, '9',
         "$GPRMC,081500.000,A,4807.038,N,01131.000,E,022.4,084.4,120324,,*00\r\n"
         "$GPGGA,081500,4807.038,N,01131.000,E,1,08,0.9*00\r\n",
         0},
        {1710231301, 0, 0, 0, 0, 0, '1',
         "$GPRMC,081501.250,A,4807.100,N,01131.100,E,010.0,090.0,120324,,*00\r\n"
         "$GPGGA,081501,4807.100,N,01131.100,E,1,07,1.2*00\r\n",
         0},
        // No complete sentence: neither a point nor the end of a segment.
        {1710231302, 0, 0, 0, 0, 0, '9', unterminated("$GPRMC,081502.000,A,4807.2"), 0},
        {1710231303, 0, 0, 0, 0, 0, '9',
         "$GPRMC,081503.000,A,4807.200,N,01131.200,E,011.0,091.0,120324,,*00\r\n"
         "$GPGGA,081503,4807.200,N,01131.200,E,1,07,1.1*00\r\n",
         0},
        // The fix is lost: the segment ends.
        {1710231304, 0, 0, 0, 0, 0, '9', "$GPRMC,081504.000,V,,,,,0,0,120324,,*00\r\n", 0},
        {1710231305, 0, 0, 0, 0, 0, '9',
         "$GPRMC,081505.000,A,,,,,5.0,180.5,120324,,*00\r\n$GPGGA,081505,3745.0,S,12230.0,W,1,05,2.0*00\r\n", 0},
        // A GSA sentence alone leaves the position: one more point at the same place.
        {1710231306, 0, 0, 0, 0, 0, '9', "$GNGSA,A,3,01,02,03*00\r\n", 0},
    };
}

inline BuiltFile driveFile() {
    Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.records = driveRecords();
    return builder.build();
}

}  // namespace zentrova::test
