#include "telemetry/export/TrackPointBuilder.h"

#include "support/DriveSample.h"
#include "support/Mp4TelemetryBuilder.h"
#include "support/TelemetryExportSamples.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::extract;
using test::driveSegments;
using test::segmentsOf;

TEST(TrackPointBuilderTest, EachRowHoldsTheFixAfterItsOwnSentences) {
    const ORVBlackBoxData data = extract(test::driveFile().bytes);
    const auto rows = TrackPointBuilder::rows(data);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 8u);
    const std::uint32_t sentences[] = {0, 2, 2, 0, 2, 1, 2, 1};
    // Index of the record's last snapshot in m_NMEAs, or -1 for none yet.
    const int lastSnapshot[] = {-1, 1, 3, 3, 5, 6, 8, 9};
    for (std::size_t k = 0; k < rows->size(); ++k) {
        SCOPED_TRACE(k);
        const TelemetryRow& row = (*rows)[k];
        EXPECT_EQ(row.record, k);
        EXPECT_EQ(row.timeValue, data.m_Times[k]);
        EXPECT_EQ(row.gsensor, data.m_GSensors[k]);
        EXPECT_EQ(row.unit, data.m_vGpsData[k].unit());
        EXPECT_EQ(row.sentences, sentences[k]);
        if (lastSnapshot[k] < 0) {
            EXPECT_FALSE(row.fix);
        } else {
            ASSERT_TRUE(row.fix);
            EXPECT_EQ(*row.fix, data.m_NMEAs[static_cast<std::size_t>(lastSnapshot[k])]);
        }
    }
}

TEST(TrackPointBuilderTest, SentenceCountMatchesTheExtractionForEveryTerminator) {
    const std::string texts[] = {
        "$GPRMC,1*00\r\n$GPGGA,2*00\r\n", "$GPRMC,1*00", "$GPRMC,1*00\n$XXGGA,2*00\n", "abc$GPRMC\0$GNGSA\0",
        "$G\r$G\n$G", "\r\n\r\n", "$$G,1\n", "$GPRMC,1$GPGGA,2\n",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        ORVBlackBoxData data;
        std::vector<std::uint8_t> buffer(text.begin(), text.end());
        data.ParseNMEA(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        EXPECT_EQ(TrackPointBuilder::sentencesIn(text), data.m_NMEAs.size());
        // After the extraction's split the stored text gives the same count.
        EXPECT_EQ(TrackPointBuilder::sentencesIn(std::string_view(reinterpret_cast<const char*>(buffer.data()),
                                                                  buffer.size())),
                  data.m_NMEAs.size());
    }
}

TEST(TrackPointBuilderTest, ListsThatDoNotFitTogetherGiveNoRows) {
    ORVBlackBoxData data = extract(test::driveFile().bytes);
    data.m_NMEAs.pop_back();
    EXPECT_FALSE(TrackPointBuilder::rows(data));
    data = extract(test::driveFile().bytes);
    data.m_GSensors.pop_back();
    EXPECT_FALSE(TrackPointBuilder::rows(data));
}

TEST(TrackPointBuilderTest, SegmentsSplitWhereValidFixesStopOnly) {
    const TrackSegments segments = driveSegments();
    ASSERT_EQ(segments.size(), 2u);
    ASSERT_EQ(segments[0].size(), 3u);  // records 1, 2, 4: record 3 brought no sentence
    // Records 6 and 7 share one fix time: one point, with the satellites of the last.
    ASSERT_EQ(segments[1].size(), 1u);
    EXPECT_EQ(segments[0][2].record, 4u);
    EXPECT_EQ(segments[1][0].record, 7u);
    EXPECT_EQ(segments[1][0].timeRecord, 6u);
    EXPECT_EQ(segments[0][1].time, "2024-03-12T08:15:01.250Z");
    EXPECT_EQ(segments[0][1].utcMilliseconds, 1710231301250);
    EXPECT_DOUBLE_EQ(segments[1][0].latitude, -37.75);
    EXPECT_DOUBLE_EQ(segments[1][0].longitude, -122.5);
    EXPECT_EQ(segments[0][0].satellites, 8u);
    EXPECT_FLOAT_EQ(static_cast<float>(segments[0][0].hdop), 0.9f);
    EXPECT_NEAR(segments[0][0].speedMetresPerSecond, 22.4 * 1852 / 3600, 1e-5);
}

std::string rmcAt(int second) {
    return "$GNRMC,0915" + std::string(second < 10 ? "0" : "") + std::to_string(second) +
           ".000,A,4807.000,N,01131.000,E,10.0,90.0,140624,,,A*00\r\n";
}

std::string rmcWithoutFixAt(int second) {
    std::string rmc = rmcAt(second);
    rmc.replace(rmc.find(",A,"), 3, ",V,");
    return rmc;
}

std::string ggaAt(int second, const std::string& latitude) {
    return "$GNGGA,0915" + std::string(second < 10 ? "0" : "") + std::to_string(second) + ".000," + latitude +
           ",N,01131.000,E,1,12,0.8,430.0,M,47.3,M,,*00\r\n";
}

ORVBlackBoxData extractTexts(const std::vector<std::string>& texts) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        test::TelemetryRecord record;
        record.time = 1718356500u + static_cast<std::uint32_t>(i / 10);
        record.text = texts[i];
        builder.records.push_back(record);
    }
    return extract(builder.build().bytes);
}

TEST(TrackPointBuilderTest, OnePointPerFixTimeKeepingEveryDistinctPosition) {
    struct Point {
        std::string time;
        double latitudeMinutes;  // minutes past 48 degrees
        std::uint32_t satellites;  // GGA of the GN talker leaves them to GSA
        std::size_t record, timeRecord;
    };
    struct Case {
        const char* what;
        std::vector<std::string> texts;  // one per record
        std::vector<Point> points;
    };
    // The camera's receiver: time, then position, then the satellites of two
    // systems in the records of one second; the other records carry nothing.
    std::vector<std::string> camera;
    for (int second = 0; second < 3; ++second) {
        camera.push_back(rmcAt(second));
        camera.push_back(ggaAt(second, "480" + std::to_string(7 + second) + ".000"));
        camera.push_back("$GNGSA,A,3,01,03,07,08,10,16,19,,,,,,1.4,0.8,1.2*00\r\n");
        camera.push_back("$GNGSA,A,3,66,67,75,76,82,,,,,,,,1.4,0.8,1.2*00\r\n");
        camera.resize(camera.size() + 6);
    }
    const Case cases[] = {
        {"sentences of one second give one point with the whole fix",
         camera,
         {{"2024-06-14T09:15:00Z", 7, 12, 3, 0}, {"2024-06-14T09:15:01Z", 8, 12, 13, 10},
          {"2024-06-14T09:15:02Z", 9, 12, 23, 20}}},
        {"positions several times a second under one time each give a point",
         {rmcAt(5), ggaAt(5, "4807.000"), ggaAt(5, "4807.100"), ggaAt(5, "4807.100"), ggaAt(5, "4807.200")},
         {{"2024-06-14T09:15:05Z", 7, 0, 1, 0}, {"2024-06-14T09:15:05Z", 7.1, 0, 3, 0},
          {"2024-06-14T09:15:05Z", 7.2, 0, 4, 0}}},
        {"the place of a second without a fix is not carried into the first fix",
         {rmcWithoutFixAt(1), ggaAt(1, "4807.000"), rmcAt(2), ggaAt(2, "4807.100")},
         {{"2024-06-14T09:15:02Z", 7.1, 0, 3, 2}}},
        {"a car standing still gives a point for every second",
         {rmcAt(1), ggaAt(1, "4807.000"), rmcAt(2), ggaAt(2, "4807.000"), rmcAt(3)},
         {{"2024-06-14T09:15:01Z", 7, 0, 1, 0}, {"2024-06-14T09:15:02Z", 7, 0, 3, 2},
          {"2024-06-14T09:15:03Z", 7, 0, 4, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TrackSegments segments = segmentsOf(extractTexts(c.texts));
        ASSERT_EQ(segments.size(), 1u);
        ASSERT_EQ(segments[0].size(), c.points.size());
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            SCOPED_TRACE(i);
            const TrackPoint& point = segments[0][i];
            EXPECT_EQ(point.time, c.points[i].time);
            // The parser reads NMEA numbers in single precision.
            EXPECT_NEAR(point.latitude, 48.0 + c.points[i].latitudeMinutes / 60.0, 1e-5);
            EXPECT_EQ(point.satellites, c.points[i].satellites);
            EXPECT_EQ(point.record, c.points[i].record);
            EXPECT_EQ(point.timeRecord, c.points[i].timeRecord);
        }
    }
}

}  // namespace
}  // namespace zentrova
