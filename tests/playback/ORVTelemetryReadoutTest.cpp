#include "playback/ORVTelemetryReadout.h"

#include "support/GpsBlock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <string>

namespace zentrova {
namespace {
using test::gpsBlock;

using Readout = ORVTelemetryReadout;

ORVGpsData fixAt(double latitude, char ns, double longitude, char ew) {
    ORVGpsData fix;
    fix.Latitude = latitude;
    fix.NS = ns;
    fix.Longitude = longitude;
    fix.EW = ew;
    return fix;
}

TEST(ORVTelemetryReadoutTest, PositionPicksTheEntryAtItsFractionNeverOnePast) {
    struct Case {
        double position;
        std::size_t count;
        std::size_t index;
    } cases[] = {
        {0.0, 5, 0},
        {0.19, 5, 0},
        {0.2, 5, 1},
        {0.99, 5, 4},
        {1.0, 5, 4},
        {1.0, 1, 0},
        {std::nextafter(1.0, 0.0), 3, 2},
        {1.5, 5, 4},
        {-0.3, 5, 0},
        {std::numeric_limits<double>::quiet_NaN(), 5, 0},
        {std::numeric_limits<double>::infinity(), 5, 4},
        {0.5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.position) + " of " + std::to_string(c.count));
        EXPECT_EQ(Readout::indexForPosition(c.position, c.count), c.index);
    }
}

TEST(ORVTelemetryReadoutTest, AxisTextsSignOnlyPositiveValues) {
    struct Case {
        double value;
        std::string text;
    } cases[] = {
        {0.0, "X=0.00"},
        {-0.0, "X=0.00"},
        {0.5, "X=+0.50"},
        {-0.25, "X=-0.25"},
        {0.001, "X=+0.00"},
        {-0.004, "X=-0.00"},
        {2.345678, "X=+2.35"},
        {-12.5, "X=-12.50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Readout::axisText(Readout::kGSensorXFormat, c.value), c.text);
    }
}

TEST(ORVTelemetryReadoutTest, GSensorTextsFollowThePlayPositionAndNeedSamples) {
    ORVBlackBoxData data;
    EXPECT_FALSE(Readout::gsensorTexts(data, 0.5).has_value());
    EXPECT_EQ(Readout::startGSensorTexts(), (Readout::GSensorTexts{"X=+0.00", "Y=+0.00", "Z=+0.00"}));

    data.m_GSensors = {ORVGSensor(0.5f, -0.25f, 0.0f), ORVGSensor(1.0f, 1.0f, 1.0f), ORVGSensor(-1.5f, 0.0f, 2.0f)};
    EXPECT_EQ(Readout::gsensorTexts(data, 0.0), (Readout::GSensorTexts{"X=+0.50", "Y=-0.25", "Z=0.00"}));
    EXPECT_EQ(Readout::gsensorTexts(data, 1.0), (Readout::GSensorTexts{"X=-1.50", "Y=0.00", "Z=+2.00"}));
}

TEST(ORVTelemetryReadoutTest, SpeedUnitComesFromTheRawBlock) {
    EXPECT_EQ(Readout::speedText(10.0, '9'), "18 Km/h");
    EXPECT_EQ(Readout::speedText(10.0, '8'), "11 Mi/h");
    EXPECT_EQ(Readout::speedText(10.0, 0), "11 Mi/h");
    EXPECT_EQ(Readout::speedText(0.0, '9'), "0 Km/h");
    EXPECT_EQ(Readout::speedText(std::numeric_limits<double>::infinity(), '9'), "0 Km/h");

    ORVBlackBoxData data;
    ORVGpsData fix;
    fix.SpeedOverGround = 10.0;
    data.m_NMEAs = {fix};
    data.m_vGpsData = {gpsBlock('9')};
    EXPECT_EQ(Readout::gpsTexts(data, 0.3).speed, "18 Km/h");
    data.m_vGpsData = {gpsBlock('9'), gpsBlock('1')};
    EXPECT_EQ(Readout::gpsTexts(data, 0.7).speed, "11 Mi/h");
}

// The readouts of a fix are real readings only when the receiver marked it
// valid and it has a place.
TEST(ORVTelemetryReadoutTest, OnlyAValidFixWithAPlaceGivesRealReadings) {
    struct Case {
        const char* what;
        bool withFix;
        std::uint8_t gpsValid;
        double latitude;
        bool withBlock;
        std::uint8_t unit;
        bool expectedValid;
        const char* expectedValue;
        Readout::SpeedUnit expectedUnit;
    } cases[] = {
        {"valid with a place", true, 1, 3745.0, true, '9', true, "18", Readout::SpeedUnit::KilometresPerHour},
        {"valid, miles", true, 1, 3745.0, true, '1', true, "11", Readout::SpeedUnit::MilesPerHour},
        {"marked not valid", true, 0, 3745.0, true, '9', false, "18", Readout::SpeedUnit::KilometresPerHour},
        {"valid but at 0, 0", true, 1, 0.0, true, '9', false, "18", Readout::SpeedUnit::KilometresPerHour},
        {"no raw block to place it", true, 1, 3745.0, false, '9', false, "", Readout::SpeedUnit::KilometresPerHour},
        {"no fix at all", false, 1, 3745.0, true, '9', false, "-", Readout::SpeedUnit::KilometresPerHour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ORVBlackBoxData data;
        if (c.withFix) {
            ORVGpsData fix = fixAt(c.latitude, 'N', c.latitude == 0.0 ? 0.0 : 12230.0, 'E');
            fix.gpsValid = c.gpsValid;
            fix.SpeedOverGround = 10.0;
            data.m_NMEAs = {fix};
        }
        if (c.withBlock) data.m_vGpsData = {gpsBlock(c.unit)};
        const Readout::GpsTexts texts = Readout::gpsTexts(data, 0.5);
        EXPECT_EQ(texts.fixValid, c.expectedValid);
        EXPECT_EQ(texts.speedValue, c.expectedValue);
        EXPECT_EQ(texts.speedUnit, c.expectedUnit);
    }
}

TEST(ORVTelemetryReadoutTest, TheMapPositionCarriesTheHemisphereOfTheFixShown) {
    ORVBlackBoxData data;
    data.m_NMEAs = {fixAt(3745.0, 'S', 12230.0, 'E'), fixAt(3745.0, 'N', 12230.0, 'E')};
    data.m_vGpsData = {gpsBlock('9')};
    EXPECT_DOUBLE_EQ(Readout::gpsTexts(data, 0.0).position->latitude, -37.75);
    EXPECT_DOUBLE_EQ(Readout::gpsTexts(data, 1.0).position->latitude, 37.75);
}

TEST(ORVTelemetryReadoutTest, FixAndBlockAreEachTakenAtTheSameFractionOfTheirOwnList) {
    ORVBlackBoxData data;
    for (int i = 0; i < 10; ++i) data.m_vGpsData.push_back(gpsBlock(i < 5 ? '9' : '1'));
    for (int i = 0; i < 4; ++i) {
        ORVGpsData fix;
        fix.SpeedOverGround = 10.0 * (i + 1);
        fix.HDOP = 0.5 + i;
        fix.SatelliteUsedCount = static_cast<std::uint32_t>(i + 3);
        data.m_NMEAs.push_back(fix);
    }
    const Readout::GpsTexts early = Readout::gpsTexts(data, 0.3);
    EXPECT_EQ(early.speed, "37 Km/h");
    EXPECT_EQ(early.hdop, "1.5");
    EXPECT_EQ(early.satellites, "4");
    const Readout::GpsTexts late = Readout::gpsTexts(data, 1.0);
    EXPECT_EQ(late.speed, "46 Mi/h");
    EXPECT_EQ(late.hdop, "3.5");
    EXPECT_EQ(late.satellites, "6");
}

TEST(ORVTelemetryReadoutTest, RecordingWithoutTelemetryGetsTheNoFixTextsAndTheNoDataNotice) {
    const Readout::GpsTexts texts = Readout::gpsTexts(ORVBlackBoxData(), 0.5);
    EXPECT_FALSE(texts.hasGpsData);
    EXPECT_FALSE(texts.hasFix);
    EXPECT_EQ(texts.speed, "- Km/h");
    EXPECT_EQ(texts.hdop, "-.-");
    EXPECT_EQ(texts.satellites, "-");
    EXPECT_FALSE(texts.position.has_value());
    EXPECT_EQ(texts.mapScript, "ORVDebug('GPS Data Count=Zero')");
}

TEST(ORVTelemetryReadoutTest, BlocksWithoutAnyCompleteSentenceGiveTheNoFixTextsAndNoPageCall) {
    ORVBlackBoxData data;
    data.m_vGpsData = {gpsBlock('9'), gpsBlock('9')};
    const Readout::GpsTexts texts = Readout::gpsTexts(data, 0.5);
    EXPECT_TRUE(texts.hasGpsData);
    EXPECT_FALSE(texts.hasFix);
    EXPECT_EQ(texts.speed, "- Km/h");
    EXPECT_EQ(texts.hdop, "-.-");
    EXPECT_TRUE(texts.mapScript.empty());
}

TEST(ORVTelemetryReadoutTest, PageCallGivesLongitudeFirstWithSixDecimals) {
    ORVBlackBoxData data;
    data.m_NMEAs = {fixAt(3745.0, 'S', 12230.0, 'W')};
    data.m_vGpsData = {gpsBlock('9')};
    EXPECT_EQ(Readout::gpsTexts(data, 0.5).mapScript, "setLatLag('-122.500000','-37.750000')");
    EXPECT_EQ(Readout::setLatLagScript({48.1173, 11.516666666}), "setLatLag('11.516667','48.117300')");
}

// Switches LC_NUMERIC to a German locale for the scope: the system's, or one
// compiled into a temporary folder when only the locale sources are there.
class CommaLocale {
public:
    CommaLocale() {
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        m_saved = previous ? previous : "C";
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return;
        const std::string compiled = m_dir.str() + "/de_DE.UTF-8";
        const std::string command = "localedef -i de_DE -f UTF-8 '" + compiled + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return;
        ::setenv("LOCPATH", m_dir.str().c_str(), 1);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        ::unsetenv("LOCPATH");
    }
    bool active() const { return std::localeconv()->decimal_point == std::string(","); }

private:
    std::string m_saved;
    test::TempDir m_dir;
};

TEST(ORVTelemetryReadoutTest, PageCallKeepsItsPointUnderACommaLocale) {
    CommaLocale locale;
    if (!locale.active()) GTEST_SKIP() << "no German locale available";
    EXPECT_EQ(Readout::setLatLagScript({-37.75, 122.5}), "setLatLag('122.500000','-37.750000')");
    EXPECT_EQ(Readout::axisText(Readout::kGSensorXFormat, 0.5), "X=+0.50");
    ORVGpsData fix;
    fix.HDOP = 1.25;
    ORVBlackBoxData data;
    data.m_NMEAs = {fix};
    EXPECT_EQ(Readout::gpsTexts(data, 0.0).hdop, "1.2");
}

TEST(ORVTelemetryReadoutTest, RouteHoldsEachPlottablePlaceOnceInOrder) {
    ORVBlackBoxData data;
    data.m_NMEAs = {
        fixAt(0.0, 'N', 0.0, 'E'),
        fixAt(3745.0, 'N', 12230.0, 'W'),
        fixAt(3745.0, 'N', 12230.0, 'W'),
        fixAt(std::numeric_limits<double>::infinity(), 'N', 12230.0, 'W'),
        fixAt(9500.0, 'N', 12230.0, 'W'),
        fixAt(3746.5, 'N', 12231.0, 'W'),
        fixAt(3745.0, 'N', 12230.0, 'W'),
    };
    const std::vector<Readout::MapPosition> route = Readout::route(data);
    ASSERT_EQ(route.size(), 3u);
    EXPECT_DOUBLE_EQ(route[0].latitude, 37.75);
    EXPECT_DOUBLE_EQ(route[0].longitude, -122.5);
    EXPECT_DOUBLE_EQ(route[1].latitude, 37.775);
    EXPECT_DOUBLE_EQ(route[2].latitude, 37.75);
    EXPECT_TRUE(Readout::route(ORVBlackBoxData()).empty());
}

}  // namespace
}  // namespace zentrova
