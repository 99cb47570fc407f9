#include "telemetry/NmeaFields.h"
#include "telemetry/ORVNMEASentenceParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

constexpr const char* kRmc = "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
constexpr const char* kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

std::string gsa(const std::vector<std::string>& satellites) {
    std::string text = "$GNGSA,A,3";
    for (std::size_t k = 0; k < 12; ++k) text += "," + (k < satellites.size() ? satellites[k] : std::string());
    return text + ",1.8,1.0,1.5*00";
}

std::vector<std::string_view> fieldsOf(const std::string& sentence) {
    std::vector<std::string_view> fields;
    std::string_view text(sentence);
    text = text.substr(0, text.find('*'));
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

TEST(ORVNMEASentenceParserTest, RmcSetsSpeedCourseValidityAndUtcTimeInSinglePrecision) {
    ORVNMEASentenceParser parser;
    parser.m_Current.Cnt_GNGSA = 1;
    ASSERT_TRUE(parser.parse(kRmc));
    const ORVGpsData& fix = parser.m_Current;
    EXPECT_EQ(fix.SpeedOverGround, 22.399999618530273);
    EXPECT_EQ(fix.CourseOverGround, 84.4000015258789);
    EXPECT_EQ(fix.gpsValid, 1);
    EXPECT_EQ(fix.Now, (SYSTEMTIME{2094, 3, 0, 23, 12, 35, 19, 0}));
    EXPECT_EQ(fix.Latitude, 0.0);
    EXPECT_EQ(fix.Longitude, 0.0);
    EXPECT_EQ(fix.Cnt_GNGSA, 0);
}

TEST(ORVNMEASentenceParserTest, RmcTimeNeedsThreeDecimalsAndStatusAForValidity) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse("$GPRMC,123519.00,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A"));
    EXPECT_EQ(parser.m_Current.Now, SYSTEMTIME{});
    EXPECT_EQ(parser.m_Current.gpsValid, 1);
    ASSERT_TRUE(parser.parse("$GNRMC,010203.456,V,,,,,,,311299,,*00"));
    EXPECT_EQ(parser.m_Current.gpsValid, 0);
    EXPECT_EQ(parser.m_Current.Now, (SYSTEMTIME{2099, 12, 0, 31, 1, 2, 3, 456}));
    EXPECT_EQ(parser.m_Current.SpeedOverGround, 0.0);
}

struct RmcTimeCase {
    const char* time;
    const char* date;
    SYSTEMTIME now;  // {} when the time is left as it was
};

// The camera's own layout and everything near it that a shortcut for it
// could misread.
TEST(ORVNMEASentenceParserTest, RmcTimeInEveryLayoutReadsAsTheWidthScanReadsIt) {
    const RmcTimeCase cases[] = {
        {"080000.000", "120324", {2024, 3, 0, 12, 8, 0, 0, 0}},
        {"235959.999", "311299", {2099, 12, 0, 31, 23, 59, 59, 999}},
        {"8 0000.000", "120324", {2024, 3, 0, 12, 8, 0, 0, 0}},    // blank: next digits
        {"080000,000", "120324", {}},                              // no comma there
        {"080000.00", "120324", {}},                               // nine characters
        {"080000.00x", "120324", {2024, 3, 0, 12, 8, 0, 0, 0}},    // two decimals read
        {"080000.-01", "120324", {2024, 3, 0, 12, 8, 0, 0, 65535}},  // sign counts in the width
        {"08+000.000", "120324", {2024, 3, 0, 12, 8, 0, 0, 0}},    // "+0" is a minute
        {"080000.000", "12 324", {2004, 32, 0, 12, 8, 0, 0, 0}},   // blank: "32" is the month
        {"080000.000", "1203x4", {2000, 3, 0, 12, 8, 0, 0, 0}},
        {"080000.000", "12032", {}},
    };
    for (const RmcTimeCase& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " " + c.date);
        ORVNMEASentenceParser parser;
        const std::string sentence = std::string("$GPRMC,") + c.time + ",A,,,,,,," + c.date + ",,*00";
        ASSERT_TRUE(parser.parse(sentence));
        EXPECT_EQ(parser.m_Current.Now, c.now);
    }
}

TEST(ORVNMEASentenceParserTest, GgaSetsPositionAndOnlyTheGpsTalkerSetsTheSatelliteCount) {
    ORVNMEASentenceParser parser;
    parser.m_Current.NS = 'S';
    parser.m_Current.EW = 'W';
    parser.m_Current.Cnt_GNGSA = 255;
    ASSERT_TRUE(parser.parse(kGga));
    const ORVGpsData& fix = parser.m_Current;
    EXPECT_EQ(fix.Latitude, 4807.0380859375);
    EXPECT_EQ(fix.NS, 'N');
    EXPECT_EQ(fix.Longitude, 1131.0);
    EXPECT_EQ(fix.EW, 'E');
    EXPECT_EQ(fix.SatelliteUsedCount, 8u);
    EXPECT_EQ(fix.HDOP, 0.8999999761581421);
    EXPECT_EQ(fix.Cnt_GNGSA, 0);

    ORVNMEASentenceParser gn;
    ASSERT_TRUE(gn.parse("$GNGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47"));
    EXPECT_EQ(gn.m_Current.SatelliteUsedCount, 0u);
    EXPECT_EQ(gn.m_Current.Latitude, 4807.0380859375);
}

TEST(ORVNMEASentenceParserTest, GgaEmptyFieldsKeepWhatEarlierSentencesSet) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse(kGga));
    ASSERT_TRUE(parser.parse("$GPGGA,123520,,,,,0,,,,M,,M,,*47"));
    EXPECT_EQ(parser.m_Current.Latitude, 4807.0380859375);
    EXPECT_EQ(parser.m_Current.NS, 'N');
    EXPECT_EQ(parser.m_Current.HDOP, 0.8999999761581421);
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 0u) << "the count is taken even when empty";
}

TEST(ORVNMEASentenceParserTest, GsaCountsGpsAndGlonassReportsInTurn) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse(gsa({"03", "07", "19"})));
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount_GPS, 3u);
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 3u);
    EXPECT_EQ(parser.m_Current.Cnt_GNGSA, 1);
    ASSERT_TRUE(parser.parse(gsa({"70", "71"})));
    const ORVGpsData& fix = parser.m_Current;
    EXPECT_EQ(fix.SatelliteUsedCount_GPS, 3u);
    EXPECT_EQ(fix.SatelliteUsedCount_GLONASS, 2u);
    EXPECT_EQ(fix.SatelliteUsedCount, 5u);
    EXPECT_EQ(fix.Cnt_GNGSA, 0);
    EXPECT_EQ(fix.Enable_GNGSA, 1);
    EXPECT_EQ(fix.SatelliteUsed[0], 70);
    EXPECT_EQ(fix.SatelliteUsed[1], 71);
    EXPECT_EQ(fix.SatelliteUsed[2], 0);
}

TEST(ORVNMEASentenceParserTest, GsaSatelliteNumbersKeepTheirLowEightBitsAndSixtyFourIsGps) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse(gsa({"64", "300", "256"})));
    EXPECT_EQ(parser.m_Current.SatelliteUsed[1], 44);
    EXPECT_EQ(parser.m_Current.SatelliteUsed[2], 0);
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount_GPS, 2u);
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount_GLONASS, 0u);
}

TEST(ORVNMEASentenceParserTest, EmptyGsaClearsTheCountOnlyWithoutAValidFix) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse(gsa({"03", "07", "19"})));
    ASSERT_TRUE(parser.parse(gsa({})));
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 0u);
    EXPECT_EQ(parser.m_Current.Cnt_GNGSA, 255);

    ORVNMEASentenceParser valid;
    ASSERT_TRUE(valid.parse(kRmc));
    ASSERT_TRUE(valid.parse(gsa({"03", "07", "19"})));
    ASSERT_TRUE(valid.parse(gsa({})));
    EXPECT_EQ(valid.m_Current.SatelliteUsedCount, 3u);
    EXPECT_EQ(valid.m_Current.Cnt_GNGSA, 255);
}

TEST(ORVNMEASentenceParserTest, GnsTakesOverSatelliteCountAndHdop) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse("$GNGNS,123519.00,4807.038,N,01131.000,E,AA,10,1.2,545.4,46.9,,*00"));
    EXPECT_EQ(parser.m_Current.Enable_GNGNS, 1);
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 10u);
    EXPECT_EQ(parser.m_Current.HDOP, 1.2000000476837158);
    EXPECT_EQ(parser.m_Current.Latitude, 0.0) << "GNS positions are not read";

    ASSERT_TRUE(parser.parse(gsa({"03", "07", "19"})));
    ASSERT_TRUE(parser.parse(kGga));
    ASSERT_TRUE(parser.parse(gsa({})));
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 10u);
    EXPECT_EQ(parser.m_Current.HDOP, 1.2000000476837158);
    EXPECT_EQ(parser.m_Current.SatelliteUsed[0], 0) << "GSA stops before the satellite list";
    EXPECT_EQ(parser.m_Current.Enable_GNGSA, 1);
    EXPECT_EQ(parser.m_Current.Latitude, 4807.0380859375);
}

TEST(ORVNMEASentenceParserTest, GsaAfterGsaDisablesTheGgaCount) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse(gsa({"03"})));
    ASSERT_TRUE(parser.parse(kGga));
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 1u);
}

TEST(ORVNMEASentenceParserTest, UnrecognisedSentencesLeaveTheFixAlone) {
    const std::string cases[] = {
        "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A*12",
        "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
        "$GPGSA,A,3,03,07,19,,,,,,,,,,1.8,1.0,1.5*00",
        "$GPGSV,3,1,11,03,03,111,00*74",
        "$GPRMC ,123519.000,A*00",
        "gprmc,123519.000,A*00",
        "",
        std::string("$GPRMC,12\xC0\xAF" "519.000,A*00"),
        std::string("$GPRMC,\xED\xA0\x80,A*00"),
        std::string("$GPRMC,\xF4\x90\x80\x80,A*00"),
        std::string("$GPRMC,\xE2\x82,A*00"),
    };
    for (const std::string& sentence : cases) {
        SCOPED_TRACE(sentence);
        ORVNMEASentenceParser parser;
        ASSERT_TRUE(parser.parse(kGga));
        const ORVGpsData before = parser.m_Current;
        EXPECT_FALSE(parser.parse(sentence));
        EXPECT_EQ(parser.m_Current, before);
    }
}

TEST(ORVNMEASentenceParserTest, ValidMultiByteTextIsRecognised) {
    ORVNMEASentenceParser parser;
    EXPECT_TRUE(parser.parse("$GPGGA,1,4807.038,\xC3\x9C,01131.000,E*00"));
    EXPECT_EQ(parser.m_Current.NS, '\xC3');
}

TEST(ORVNMEASentenceParserTest, SentencesShorterThanTheFieldsReadAreHandledAsEmpty) {
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parse(kRmc));
    ASSERT_TRUE(parser.parse(kGga));
    const ORVGpsData before = parser.m_Current;

    EXPECT_TRUE(parser.parse("$GPGGA,123519,4807.5,S*00"));
    EXPECT_EQ(parser.m_Current.Latitude, 4807.5);
    EXPECT_EQ(parser.m_Current.NS, 'S');
    EXPECT_EQ(parser.m_Current.Longitude, before.Longitude);
    EXPECT_EQ(parser.m_Current.HDOP, before.HDOP);

    EXPECT_TRUE(parser.parse("$GPRMC,123519.000*00"));
    EXPECT_EQ(parser.m_Current.gpsValid, 0);
    EXPECT_EQ(parser.m_Current.SpeedOverGround, 0.0);
    EXPECT_EQ(parser.m_Current.Now, before.Now);

    EXPECT_TRUE(parser.parse("$GNGNS*"));
    EXPECT_EQ(parser.m_Current.SatelliteUsedCount, 0u);
    EXPECT_TRUE(parser.parse("$GNGSA,A*"));
    EXPECT_TRUE(parser.parse("$GPGGA*"));
    EXPECT_TRUE(parser.m_Current.Enable_GNGNS);

    std::vector<std::string_view> none;
    EXPECT_TRUE(parser.parseGPRMC(none));
    EXPECT_TRUE(parser.parseGPGGA(none));
    EXPECT_TRUE(parser.parseGNGSA(none));
    EXPECT_TRUE(parser.parseGNGNS(none));
    EXPECT_TRUE(parser.parseGPGSV(none));
}

TEST(ORVNMEASentenceParserTest, GsvFillsChannelsAcrossMessagesInSequence) {
    ORVNMEASentenceParser::resetGSVCounters();
    ORVNMEASentenceParser parser;
    const std::string first = "$GPGSV,4,1,14,03,03,111,40,04,15,270,41,06,01,010,42,13,06,292,43*74";
    const std::string second = "$GPGSV,4,2,14,14,03,111,30,15,15,270,31,16,01,010,32,17,06,292,33*74";
    const std::string third = "$GPGSV,4,3,14,18,03,111,20,19,15,270,21,20,01,010,,21,06,292,23*74";
    const std::string fourth = "$GPGSV,4,4,14,22,03,111,10,23,15,270,11*74";
    for (const std::string* s : {&first, &second, &third, &fourth}) {
        EXPECT_TRUE(parser.parseGPGSV(fieldsOf(*s)));
    }
    const ORVGpsData& fix = parser.m_Current;
    EXPECT_EQ(fix.SatelliteCount, 14u);
    EXPECT_EQ(fix.SVonChannel[0], (PAIR{3, 40}));
    EXPECT_EQ(fix.SVonChannel[4], (PAIR{14, 30}));
    EXPECT_EQ(fix.SVonChannel[10], (PAIR{20, 0}));
    EXPECT_EQ(fix.SVonChannel[11], (PAIR{21, 23})) << "channels beyond 11 are dropped";
}

TEST(ORVNMEASentenceParserTest, GsvOutOfSequenceIsRefusedAndCountersAreShared) {
    ORVNMEASentenceParser::resetGSVCounters();
    ORVNMEASentenceParser a;
    ORVNMEASentenceParser b;
    EXPECT_TRUE(a.parseGPGSV(fieldsOf("$GPGSV,3,1,11,03,03,111,40,04,15,270,41*00")));
    EXPECT_FALSE(b.parseGPGSV(fieldsOf("$GPGSV,3,3,11,05,03,111,40*00")));
    EXPECT_TRUE(b.parseGPGSV(fieldsOf("$GPGSV,3,2,11,05,03,111,40*00")));
    EXPECT_EQ(b.m_Current.SVonChannel[0], PAIR{}) << "b continues at the channel a reached";
    EXPECT_EQ(b.m_Current.SVonChannel[2], (PAIR{5, 40}));
    EXPECT_TRUE(b.parseGPGSV(fieldsOf("$GPGSV,3,9,00*00"))) << "no satellites: stops before the sequence test";
    EXPECT_EQ(b.m_Current.SatelliteCount, 0u);
    EXPECT_TRUE(b.parseGPGSV(fieldsOf("$GPGSV,3,3,11*00")));
    ORVNMEASentenceParser::resetGSVCounters();
}

TEST(ORVNMEASentenceParserTest, ClearResetsTheFixButNotTheGsvCounters) {
    ORVNMEASentenceParser::resetGSVCounters();
    ORVNMEASentenceParser parser;
    ASSERT_TRUE(parser.parseGPGSV(fieldsOf("$GPGSV,2,1,08,03,03,111,40*00")));
    ASSERT_TRUE(parser.parse(kGga));
    parser.clear();
    EXPECT_EQ(parser.m_Current, ORVGpsData());
    EXPECT_TRUE(parser.parseGPGSV(fieldsOf("$GPGSV,2,2,08,04,03,111,41*00")));
    EXPECT_EQ(parser.m_Current.SVonChannel[1], (PAIR{4, 41}));
    ORVNMEASentenceParser::resetGSVCounters();
}

struct IntegerCase {
    const char* field;
    std::int32_t value;
};

TEST(NmeaFieldsTest, IntegerReadsLeadingDigits) {
    const IntegerCase cases[] = {
        {"08", 8}, {"", 0}, {"  -12x", -12}, {"+7", 7}, {"x5", 0}, {"3.9", 3},
        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(nmeaInteger(c.field), c.value);
    }
}

struct RealCase {
    const char* field;
    double value;
};

TEST(NmeaFieldsTest, RealReadsTheLeadingNumberInSinglePrecision) {
    const RealCase cases[] = {
        {"4807.038", 4807.0380859375}, {"0.9", 0.8999999761581421}, {"", 0.0}, {"abc", 0.0},
        {" -1.5xyz", -1.5}, {".5", 0.5}, {"5.", 5.0}, {"1e2", 100.0}, {"1e", 1.0}, {"1e+x", 1.0},
        {".", 0.0}, {"+2.25", 2.25}, {"1e39", std::numeric_limits<double>::infinity()}, {"1e-50", 0.0},
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(nmeaReal(c.field), c.value);
    }
}

TEST(NmeaFieldsTest, WidthScanReadsAtMostItsWidthSignIncluded) {
    std::string_view text = "-12345";
    int value = 0;
    ASSERT_TRUE(scanWidthInteger(text, 2, value));
    EXPECT_EQ(value, -1);
    EXPECT_EQ(text, "2345");
    std::string_view empty;
    EXPECT_FALSE(scanWidthInteger(empty, 2, value));
    std::string_view letters = "ab";
    EXPECT_FALSE(scanWidthInteger(letters, 2, value));
}

}  // namespace
}  // namespace zentrova
