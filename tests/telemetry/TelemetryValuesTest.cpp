#include "telemetry/NMEAToDegrees.h"
#include "telemetry/ORVAviGSensorData.h"
#include "telemetry/ORVAviGpsData.h"
#include "telemetry/ORVGSensor.h"
#include "telemetry/ORVGpsData.h"
#include "telemetry/ORVTimeEvent.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentrova {
namespace {

TEST(NMEAToDegreesTest, ConvertsDegreesAndMinutesKeepingTheSign) {
    double latitude = 0.0;
    double longitude = 0.0;
    NMEAToDegrees(4807.0380859375, -1131.0, &latitude, &longitude);
    EXPECT_EQ(latitude, 48.11730143229167);
    EXPECT_DOUBLE_EQ(longitude, -11.516666666666667);
    EXPECT_NEAR(nmeaToDegrees(4807.038), 48.1173, 0.00005);
    EXPECT_NEAR(nmeaToDegrees(-4807.038), -48.1173, 0.00005);
    EXPECT_EQ(nmeaToDegrees(-4807.038), -nmeaToDegrees(4807.038));
    EXPECT_EQ(nmeaToDegrees(0.0), 0.0);
}

TEST(NMEAToDegreesTest, FillsOnlyTheGivenPlacesAndSurvivesValuesBeyondTheIntegerRange) {
    double second = 7.0;
    NMEAToDegrees(4807.038, 1131.0, nullptr, &second);
    EXPECT_DOUBLE_EQ(second, 11.516666666666667);
    NMEAToDegrees(1.0, 2.0, nullptr, nullptr);
    EXPECT_TRUE(std::isfinite(nmeaToDegrees(3.4e38)));
    EXPECT_FALSE(std::isfinite(nmeaToDegrees(std::nan(""))));
}

TEST(ORVGSensorTest, RawBlockScalesAxesInOrderWithTheirSigns) {
    EXPECT_EQ(ORVGSensor::fromRaw(256, -128, 1), ORVGSensor(1.0f, -0.5f, 0.00390625f));
    EXPECT_EQ(ORVGSensor::fromRaw(2147483647, 0, 0).x(), 8388608.0f);
    ORVGSensor copy;
    copy.updateFromObject(ORVGSensor(1, 2, 3));
    EXPECT_EQ(copy.z(), 3.0f);
}

TEST(ORVAviGSensorDataTest, KeepsTheBlockAsStoredAndDecodesLittleEndian) {
    const std::uint8_t block[16] = {0x00, 0x01, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    const ORVAviGSensorData data = ORVAviGSensorData::aviGSensorDataWithData(block);
    EXPECT_EQ(data.X(), 256);
    EXPECT_EQ(data.Y(), -128);
    EXPECT_EQ(data.Z(), 1);
    EXPECT_EQ(data.T(), 2147483647);
    EXPECT_EQ(ORVAviGSensorData().data(), ORVAviGSensorData::Record{});
}

TEST(ORVAviGpsDataTest, UnitByteThenTextBytes) {
    std::uint8_t block[129] = {'9', '$', 'G'};
    const ORVAviGpsData data = ORVAviGpsData::aviGpsDataWithData(block);
    EXPECT_EQ(data.unit(), '9');
    EXPECT_EQ(data.gpsString().size(), 128u);
    EXPECT_EQ(data.gpsString().substr(0, 2), "$G");
    EXPECT_EQ(ORVAviGpsData().data(), ORVAviGpsData::Record{});
}

TEST(ORVTimeEventTest, UpdateCopiesAllFields) {
    ORVTimeEvent source;
    source.setE(1);
    source.setF(42);
    source.setT(SYSTEMTIME{2019, 3, 1, 12, 8, 15, 30, 999});
    ORVTimeEvent copy;
    copy.updateFromObject(source);
    EXPECT_EQ(copy, source);
    EXPECT_EQ(copy.t().wDayOfWeek, 1);
    EXPECT_EQ(copy.t().wMilliseconds, 999);
    EXPECT_EQ(ORVTimeEvent().t(), SYSTEMTIME{});
}

TEST(ORVGpsDataTest, InitialValuesDuplicateAndIndexedAccessors) {
    ORVGpsData fix;
    EXPECT_EQ(fix.NS, 'N');
    EXPECT_EQ(fix.EW, 'E');
    fix.setSVonChannelWithFirst(3, 40, 11);
    fix.setSVonChannelWithSecond(41, 11);
    fix.setSatelliteUsed(70, 0);
    fix.setSatelliteUsed(71, 12);
    fix.setSVonChannel(PAIR{1, 1}, -1);
    fix.Now.wYear = 2024;
    const ORVGpsData copy = fix.duplicate();
    EXPECT_EQ(copy, fix);
    EXPECT_EQ(copy.SVonChannelAtIndex(11), (PAIR{3, 41}));
    EXPECT_EQ(copy.SVonChannelAtIndex(12), PAIR{});
    EXPECT_EQ(copy.SatelliteUsedAtIndex(0), 70);
    EXPECT_EQ(copy.SatelliteUsedAtIndex(-5), 0);
    fix.clear();
    EXPECT_EQ(fix, ORVGpsData());
}

}  // namespace
}  // namespace zentrova
