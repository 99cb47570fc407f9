#include "telemetry/export/TrackPointBuilder.h"

#include "support/TelemetryExportSamples.h"
#include "support/DriveSample.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::extract;
using test::driveRows;

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
    const TrackSegments segments = TrackPointBuilder::segments(driveRows());
    ASSERT_EQ(segments.size(), 2u);
    ASSERT_EQ(segments[0].size(), 3u);  // records 1, 2, 4: record 3 brought no sentence
    ASSERT_EQ(segments[1].size(), 2u);  // records 6, 7
    EXPECT_EQ(segments[0][2].record, 4u);
    EXPECT_EQ(segments[1][0].record, 6u);
    EXPECT_EQ(segments[1][1].record, 7u);
    EXPECT_EQ(segments[0][1].time, "2024-03-12T08:15:01.250Z");
    EXPECT_DOUBLE_EQ(segments[1][0].latitude, -37.75);
    EXPECT_DOUBLE_EQ(segments[1][0].longitude, -122.5);
    EXPECT_EQ(segments[1][1].latitude, segments[1][0].latitude);
    EXPECT_EQ(segments[0][0].satellites, 8u);
    EXPECT_FLOAT_EQ(static_cast<float>(segments[0][0].hdop), 0.9f);
    EXPECT_NEAR(segments[0][0].speedMetresPerSecond, 22.4 * 1852 / 3600, 1e-5);
}

}  // namespace
}  // namespace zentrova
