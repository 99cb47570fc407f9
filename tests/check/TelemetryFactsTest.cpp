#include "check/TelemetryFacts.h"

#include "support/Mp4TelemetryBuilder.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace zentrova {
namespace {

// Four seconds as the camera records them: ten records a second, the
// receiver's time, position and satellites in the first four of each.
ORVBlackBoxData cameraSeconds(int firstValidSecond) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    for (int second = 0; second < 4; ++second) {
        const bool valid = second >= firstValidSecond;
        char rmc[128], gga[128];
        std::snprintf(rmc, sizeof rmc, "$GNRMC,0730%02d.000,%s,4703.0000,N,00818.0000,E,%d.0,90.0,140624,,,A*00\r\n",
                      10 + second, valid ? "A" : "V", 10 * (second + 1) % 35);
        std::snprintf(gga, sizeof gga, "$GNGGA,0730%02d.000,470%d.0000,N,00818.0000,E,1,12,0.8,430.0,M,47.3,M,,*00\r\n",
                      10 + second, 3 + second);
        for (int slot = 0; slot < 10; ++slot) {
            test::TelemetryRecord record;
            record.time = 1718350210u + static_cast<std::uint32_t>(second);
            record.z = 256;
            if (slot == 0) record.text = rmc;
            if (slot == 1) record.text = gga;
            if (slot == 2) record.text = "$GNGSA,A,3,01,03,07,08,10,16,19,,,,,,1.4,0.8,1.2*00\r\n";
            if (second * 10 + slot == 17) {
                record.x = -768;  // a knock of 3 g from ahead
                record.z = 512;
            }
            builder.records.push_back(record);
        }
    }
    const test::Bytes bytes = builder.build().bytes;
    MemoryByteSource source(bytes);
    ORVBlackBoxData data;
    EXPECT_TRUE(data.ExtractStreamInformation(source));
    return data;
}

TEST(TelemetryFactsTest, StartByGpsFromTheRecordThatBroughtEachFixTime) {
    const TelemetryFacts facts = TelemetryFacts::of(cameraSeconds(0), 4.0);
    EXPECT_EQ(facts.records, 40u);
    EXPECT_EQ(facts.validFixes, 4u);
    ASSERT_TRUE(facts.secondsPerRecord);
    EXPECT_DOUBLE_EQ(*facts.secondsPerRecord, 0.1);
    // 2024-06-14 07:30:10 UTC, to the millisecond: the fix of each second
    // came with its first record, though it was complete three records later.
    EXPECT_EQ(facts.gpsStartUtcMilliseconds, 1718350210000);
}

TEST(TelemetryFactsTest, PlacesSpeedAndTheStrongestReading) {
    const TelemetryFacts facts = TelemetryFacts::of(cameraSeconds(1), 4.0);
    EXPECT_EQ(facts.validFixes, 3u) << "the first second had no fix";
    ASSERT_TRUE(facts.first && facts.last && facts.fastest && facts.strongest);
    EXPECT_NEAR(facts.first->latitude, 47.0 + 4.0 / 60.0, 1e-5);
    EXPECT_EQ(facts.first->utcMilliseconds, 1718350211000);
    EXPECT_NEAR(facts.last->latitude, 47.0 + 6.0 / 60.0, 1e-5);
    EXPECT_NEAR(facts.fastest->kilometresPerHour, 30.0 * 1.852, 1e-3);
    EXPECT_EQ(facts.fastest->record, 22u);
    EXPECT_NEAR(facts.fastest->atSeconds.value(), 2.2, 1e-9);
    EXPECT_EQ(facts.strongest->record, 17u);
    EXPECT_NEAR(facts.strongest->magnitude, std::sqrt(9.0 + 4.0), 1e-6);
    EXPECT_NEAR(facts.strongest->atSeconds.value(), 1.7, 1e-9);
    EXPECT_EQ(facts.gpsStartUtcMilliseconds, 1718350210000);
}

TEST(TelemetryFactsTest, WithoutALengthThereIsNoPlaceInTheRecordingNorAStart) {
    const TelemetryFacts facts = TelemetryFacts::of(cameraSeconds(0), std::nullopt);
    EXPECT_FALSE(facts.secondsPerRecord);
    EXPECT_FALSE(facts.gpsStartUtcMilliseconds);
    ASSERT_TRUE(facts.strongest);
    EXPECT_FALSE(facts.strongest->atSeconds);
    EXPECT_EQ(facts.validFixes, 4u);
}

}  // namespace
}  // namespace zentrova
