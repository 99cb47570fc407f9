#include "common/Log.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include "support/Mp4TelemetryBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace zentrova {
namespace {
using test::BuiltFile;
using test::Mp4TelemetryBuilder;

BuiltFile sampleFile(bool chunksBeforeMoov) {
    Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = chunksBeforeMoov;
    for (std::uint32_t i = 0; i < 4; ++i) {
        builder.records.push_back({100 + i, 0, static_cast<std::int32_t>(i) * 256, -256, 512, 0, '9',
                                   "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
                                   "$GNGSA,A,3,03,07,19,,,,,,,,,,1.8,1.0,1.5*00\r\n",
                                   0});
    }
    return builder.build();
}

// Every box boundary, every chunk boundary and lengths inside the chunks'
// fields; the whole range is covered in memory below.
std::set<std::uint64_t> interestingLengths(const BuiltFile& file) {
    std::set<std::uint64_t> lengths;
    for (const test::BoxSpan& box : file.boxes) {
        for (std::uint64_t at : {box.start, box.start + 4, box.start + 8, box.end}) {
            for (std::int64_t delta : {-1, 0, 1}) lengths.insert(at + delta);
        }
    }
    for (std::uint32_t chunk : file.chunkOffsets) {
        for (std::uint64_t inside : {0, 1, 2, 6, 10, 26, 27, 100, 153, 154, 155}) lengths.insert(chunk + inside);
    }
    for (std::uint64_t inside : {0, 4, 8, 12, 15, 16, 17, 20}) lengths.insert(file.stcoStart + inside);
    std::set<std::uint64_t> valid;
    for (std::uint64_t length : lengths) {
        if (length <= file.bytes.size()) valid.insert(length);
    }
    return valid;
}

void expectReferenceResult(ORVBlackBoxData& data, bool ok, const BuiltFile& file, std::uint64_t length) {
    const auto expected = test::referenceTimes(file, length);
    EXPECT_EQ(ok, length >= file.headerEnd);
    EXPECT_EQ(data.m_Times, expected);
    EXPECT_EQ(data.m_GSensors.size(), expected.size());
    EXPECT_EQ(data.m_vGSensorData.size(), expected.size());
    EXPECT_EQ(data.m_vGpsData.size(), expected.size());
    EXPECT_EQ(data.m_NMEAs.size(), 2 * expected.size());
}

class ORVBlackBoxDataTruncatedFileTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { setLogSink([](std::string_view) {}); }
    void TearDown() override { setLogSink({}); }
};

TEST_P(ORVBlackBoxDataTruncatedFileTest, EveryLengthInMemoryGivesTheExpectedLists) {
    const BuiltFile file = sampleFile(GetParam());
    ORVBlackBoxData data;
    for (std::size_t length = 0; length <= file.bytes.size(); ++length) {
        SCOPED_TRACE(length);
        MemoryByteSource source(std::span(file.bytes.data(), length));
        const bool ok = data.ExtractStreamInformation(source);
        expectReferenceResult(data, ok, file, length);
    }
}

TEST_P(ORVBlackBoxDataTruncatedFileTest, RealFilesCutAtBoxesAndInsideRecords) {
    const BuiltFile file = sampleFile(GetParam());
    test::TempDir dir;
    ORVBlackBoxData data;
    std::size_t completeResults = 0;
    for (std::uint64_t length : interestingLengths(file)) {
        SCOPED_TRACE(length);
        const std::string path = (dir.path() / ("cut_" + std::to_string(length) + "_F.mp4")).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(length));
        const bool ok = data.ExtractStreamInformation(path);
        expectReferenceResult(data, ok, file, length);
        if (data.m_Times.size() == 4) ++completeResults;
    }
    EXPECT_GT(completeResults, 0u);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ORVBlackBoxDataTruncatedFileTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "chunks_before_moov" : "chunks_after_moov"; });

}  // namespace
}  // namespace zentrova
