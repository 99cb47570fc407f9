#include "DriveLogWriter.h"
#include "NmeaSentenceWriter.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {
using namespace samplecard;

TEST(NmeaSentenceWriterTest, ChecksumIsTheXorOfTheBody) {
    EXPECT_EQ(NmeaSentenceWriter::finish("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
              "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n");
}

TEST(NmeaSentenceWriterTest, PositionsAreDegreesAndMinutesWithoutSign) {
    struct Case {
        double latitude, longitude;
        const char* lat;
        const char* lon;
    };
    const Case cases[] = {
        {48.1173, 11.516666666, "4807.0380", "01131.0000"},
        {-33.5, -70.25, "3330.0000", "07015.0000"},
        {47.99999999, 8.0, "4800.0000", "00800.0000"},  // minutes round up into the next degree
    };
    for (const Case& c : cases) {
        GpsReading reading;
        reading.valid = true;
        reading.latitude = c.latitude;
        reading.longitude = c.longitude;
        EXPECT_EQ(NmeaSentenceWriter::latitudeField(reading), c.lat);
        EXPECT_EQ(NmeaSentenceWriter::longitudeField(reading), c.lon);
    }
}

TEST(NmeaSentenceWriterTest, RmcCarriesHemispheresTimeWithMillisecondsAndDate) {
    GpsReading reading;
    reading.valid = true;
    reading.latitude = -33.5;
    reading.longitude = -70.25;
    reading.speedKnots = 22.4;
    reading.course = 84.4;
    reading.time = CivilTime{2024, 6, 14, 7, 30, 5, 250};
    const auto upToChecksum = [](const std::string& sentence) { return sentence.substr(0, sentence.find('*') + 1); };
    EXPECT_EQ(upToChecksum(NmeaSentenceWriter::rmc(reading)),
              "$GNRMC,073005.250,A,3330.0000,S,07015.0000,W,22.40,84.40,140624,,,A*");
    reading.valid = false;
    EXPECT_EQ(upToChecksum(NmeaSentenceWriter::rmc(reading)), "$GNRMC,073005.250,V,,,,,,,140624,,,N*");
}

TEST(NmeaSentenceWriterTest, EverySentenceFitsOneRecord) {
    GpsReading reading;
    reading.valid = true;
    reading.latitude = 47.05;
    reading.longitude = 8.31;
    reading.speedKnots = 199.99;
    reading.course = 359.99;
    reading.altitude = 1234.5;
    reading.hdop = 12.3;
    reading.gpsSatellites = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (const std::string& sentence :
         {NmeaSentenceWriter::rmc(reading), NmeaSentenceWriter::gga(reading), NmeaSentenceWriter::gns(reading),
          NmeaSentenceWriter::gsa(reading, reading.gpsSatellites)}) {
        EXPECT_LE(sentence.size(), 128u) << sentence;
    }
}

TEST(DriveLogWriterTest, HeaderCountThenFortyByteRecords) {
    DriveLogRecord record;
    record.sequence = 0x0102;
    record.batteryTenths = 126;
    DriveLogWriter::splitDegrees(37.51752, record.latitudeDegreesMinutes, record.latitudeFraction);
    const Bytes bytes = DriveLogWriter::encode({record, record});
    ASSERT_EQ(bytes.size(), 12u + 80u);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[12], 0x02);
    EXPECT_EQ(bytes[13], 0x01);
    EXPECT_EQ(record.latitudeDegreesMinutes, 3731);
    EXPECT_EQ(record.latitudeFraction, 512);  // 37 degrees 31.0512 minutes
    EXPECT_EQ(bytes[12 + 38], 126);
    EXPECT_EQ(bytes[12 + 40 + 38], 126);
}

}  // namespace
}  // namespace zentrova
