#include "SmallSampleCard.h"

#include "telemetry/ORVBlackBoxData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace zentrova {
namespace {
using samplecard::SampleRecording;
using samplecard::TelemetryRecord;
using test::SmallSampleCard;

std::vector<std::string> splitFields(const std::string& sentence) {
    const std::string body = sentence.substr(0, sentence.find('*'));
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = body.find(',', from);
        fields.push_back(body.substr(from, comma - from));
        if (comma == std::string::npos) return fields;
        from = comma + 1;
    }
}

double asFloat(const std::string& field) { return static_cast<double>(std::strtof(field.c_str(), nullptr)); }

// The "$G" sentences of a record that end in CR LF inside it, in order.
std::vector<std::string> completeSentences(const TelemetryRecord& record) {
    std::vector<std::string> sentences;
    std::size_t from = 0;
    for (std::size_t end; (end = record.text.find("\r\n", from)) != std::string::npos; from = end + 2) {
        const std::string piece = record.text.substr(from, end - from);
        if (piece.rfind("$G", 0) == 0) sentences.push_back(piece);
    }
    return sentences;
}

class SampleCardRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SmallSampleCard::get().result.card) << SmallSampleCard::get().result.error;
    }
    static const std::vector<SampleRecording>& recordings() { return SmallSampleCard::get().card().recordings; }
};

TEST_F(SampleCardRoundTripTest, ExtractorReadsBackEveryRecordAsWritten) {
    int fronts = 0;
    for (const SampleRecording& recording : recordings()) {
        if (recording.frontPath.empty()) continue;
        ++fronts;
        SCOPED_TRACE(recording.frontPath);
        ORVBlackBoxData data;
        ASSERT_TRUE(data.ExtractStreamInformation(recording.frontPath));
        const std::vector<TelemetryRecord>& written = recording.records;
        ASSERT_EQ(written.size(), std::size_t{SmallSampleCard::kDuration} * 10);
        ASSERT_EQ(data.m_Times.size(), written.size());
        ASSERT_EQ(data.m_vGpsData.size(), written.size());
        ASSERT_EQ(data.m_GSensors.size(), written.size());
        for (std::size_t i = 0; i < written.size(); ++i) {
            EXPECT_EQ(data.m_Times[i], written[i].time);
            EXPECT_EQ(data.m_vGSensorData[i].X(), written[i].x);
            EXPECT_EQ(data.m_vGSensorData[i].Y(), written[i].y);
            EXPECT_EQ(data.m_vGSensorData[i].Z(), written[i].z);
            EXPECT_EQ(data.m_vGSensorData[i].T(), written[i].t);
            EXPECT_EQ(data.m_GSensors[i].x(), static_cast<float>(written[i].x) * 0.00390625f);
            EXPECT_EQ(data.m_GSensors[i].z(), static_cast<float>(written[i].z) * 0.00390625f);
            // The stored text is the written one with CR and LF turned into NUL.
            std::string expected = written[i].text;
            expected.resize(TelemetryRecord::kTextSize, '\0');
            std::replace(expected.begin(), expected.end(), '\r', '\0');
            std::replace(expected.begin(), expected.end(), '\n', '\0');
            const auto& block = data.m_vGpsData[i].data();
            EXPECT_EQ(block[0], written[i].unit);
            EXPECT_EQ(std::string(block.begin() + 1, block.end()), expected) << "record " << i;
        }
    }
    EXPECT_GE(fronts, 6);
}

// Replays the written sentences against the fixes the extractor made:
// every complete "$G" sentence gives one fix, carrying the numbers written.
TEST_F(SampleCardRoundTripTest, EveryCompleteSentenceGivesAFixWithItsNumbers) {
    int emptyRecords = 0, rmc = 0, gga = 0, gsa = 0, gns = 0;
    for (const SampleRecording& recording : recordings()) {
        if (recording.frontPath.empty()) continue;
        SCOPED_TRACE(recording.frontPath);
        ORVBlackBoxData data;
        ASSERT_TRUE(data.ExtractStreamInformation(recording.frontPath));
        std::size_t fix = 0;
        std::uint32_t gpsUsed = 0;
        for (const TelemetryRecord& record : recording.records) {
            const std::vector<std::string> sentences = completeSentences(record);
            if (sentences.empty()) ++emptyRecords;
            for (const std::string& sentence : sentences) {
                ASSERT_LT(fix, data.m_NMEAs.size());
                const ORVGpsData& got = data.m_NMEAs[fix++];
                const std::vector<std::string> f = splitFields(sentence);
                if (f[0] == "$GNRMC") {
                    ++rmc;
                    EXPECT_EQ(got.gpsValid, f[2] == "A" ? 1 : 0);
                    EXPECT_EQ(got.SpeedOverGround, asFloat(f[7]));
                    EXPECT_EQ(got.CourseOverGround, asFloat(f[8]));
                    EXPECT_EQ(got.Now.wHour, std::stoi(f[1].substr(0, 2)));
                    EXPECT_EQ(got.Now.wSecond, std::stoi(f[1].substr(4, 2)));
                    EXPECT_EQ(got.Now.wYear, 2000 + std::stoi(f[9].substr(4, 2)));
                } else if (f[0] == "$GNGGA") {
                    ++gga;
                    if (!f[2].empty()) {
                        EXPECT_EQ(got.Latitude, asFloat(f[2]));
                        EXPECT_EQ(got.NS, f[3][0]);
                        EXPECT_EQ(got.Longitude, asFloat(f[4]));
                        EXPECT_EQ(got.EW, f[5][0]);
                    }
                    if (!got.Enable_GNGNS) {
                        EXPECT_EQ(got.HDOP, asFloat(f[8]));
                    }
                } else if (f[0] == "$GNGSA") {
                    ++gsa;
                    std::uint32_t listed = 0;
                    for (std::size_t k = 3; k < 15; ++k) listed += f[k].empty() ? 0 : 1;
                    if (listed == 0) {
                        EXPECT_EQ(got.SatelliteUsedCount, 0u);  // no fix yet
                    } else if (std::stoi(f[3]) <= 64) {
                        gpsUsed = listed;
                        EXPECT_EQ(got.SatelliteUsedCount, listed);
                    } else {
                        EXPECT_EQ(got.SatelliteUsedCount, gpsUsed + listed);
                    }
                } else if (f[0] == "$GNGNS") {
                    ++gns;
                    EXPECT_EQ(got.Enable_GNGNS, 1);
                    EXPECT_EQ(got.SatelliteUsedCount, static_cast<std::uint32_t>(std::stoi(f[7])));
                    EXPECT_EQ(got.HDOP, asFloat(f[8]));
                }
            }
        }
        EXPECT_EQ(fix, data.m_NMEAs.size()) << "no fix without a complete sentence";
    }
    EXPECT_GT(emptyRecords, 0);
    EXPECT_GT(rmc, 0);
    EXPECT_EQ(rmc, gga);
    EXPECT_GT(gsa, 0);
    EXPECT_GT(gns, 0);
}

double degreesOf(const std::string& field, const std::string& hemisphere) {
    const double value = std::strtod(field.c_str(), nullptr);
    const double degrees = std::trunc(value / 100);
    const double result = degrees + (value - degrees * 100) / 60;
    return hemisphere == "S" || hemisphere == "W" ? -result : result;
}

// Second by second, as written: the distance between two positions fits the
// speed, and the course points the way the car went.
TEST_F(SampleCardRoundTripTest, SpeedAndCourseFitThePositions) {
    int checked = 0;
    for (const SampleRecording& recording : recordings()) {
        if (recording.records.empty()) continue;
        struct Second {
            double lat = 0, lon = 0, knots = 0, course = 0;
        };
        std::vector<Second> seconds;
        for (const TelemetryRecord& record : recording.records) {
            for (const std::string& sentence : completeSentences(record)) {
                const std::vector<std::string> f = splitFields(sentence);
                if (f[0] == "$GNRMC" && f[2] == "A") {
                    seconds.push_back({0, 0, std::strtod(f[7].c_str(), nullptr), std::strtod(f[8].c_str(), nullptr)});
                } else if (f[0] == "$GNGGA" && !seconds.empty() && !f[2].empty()) {
                    seconds.back().lat = degreesOf(f[2], f[3]);
                    seconds.back().lon = degreesOf(f[4], f[5]);
                }
            }
        }
        for (std::size_t i = 1; i < seconds.size(); ++i) {
            const Second& a = seconds[i - 1];
            const Second& b = seconds[i];
            const double north = (b.lat - a.lat) * 111195.0;
            const double east = (b.lon - a.lon) * 111195.0 * std::cos(a.lat * std::numbers::pi / 180.0);
            const double metres = std::hypot(north, east);
            const double speed = (a.knots + b.knots) / 2 * 1852.0 / 3600.0;
            SCOPED_TRACE(recording.groupName + " second " + std::to_string(i));
            EXPECT_NEAR(metres, speed, 0.3 + 0.1 * speed);
            if (speed > 5) {
                const double bearing = std::atan2(east, north) * 180.0 / std::numbers::pi;
                const double off = std::fmod(bearing - a.course + 720.0, 360.0);
                EXPECT_LT(std::min(off, 360.0 - off), 12.0);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 5);
}

TEST_F(SampleCardRoundTripTest, EventsHoldAClearImpactAndDrivingOnlyRoadNoise) {
    for (const SampleRecording& recording : recordings()) {
        if (recording.frontPath.empty()) continue;
        SCOPED_TRACE(recording.groupName);
        ORVBlackBoxData data;
        ASSERT_TRUE(data.ExtractStreamInformation(recording.frontPath));
        float peak = 0;
        for (const ORVGSensor& sample : data.m_GSensors) {
            peak = std::max({peak, std::abs(sample.x()), std::abs(sample.y()), std::abs(sample.z() - 1.0f)});
        }
        if (recording.mode == samplecard::RecordingMode::Event) {
            EXPECT_GT(peak, 2.0f);
        } else {
            EXPECT_LT(peak, 0.6f);
        }
    }
}

}  // namespace
}  // namespace zentrova
