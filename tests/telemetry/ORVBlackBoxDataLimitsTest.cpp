// What one extraction may take, whatever a damaged or hostile file says:
// records, sentences and memory stay within the stated bounds, and running
// out of memory is a failed extraction.
#include "common/Log.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include "support/Mp4TelemetryBuilder.h"
#include "support/SparseByteSource.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::Mp4TelemetryBuilder;
using test::SparseByteSource;
using test::TelemetryRecord;

constexpr std::uint64_t kEightGiB = std::uint64_t{8} << 30;
constexpr std::uint64_t kJustTheBytes = 0;  // no zeros after the bytes

class QuietLog : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }
    std::vector<std::string> lines;
};

void expectEmpty(const ORVBlackBoxData& data) {
    EXPECT_TRUE(data.m_Times.empty());
    EXPECT_TRUE(data.m_vGSensorData.empty());
    EXPECT_TRUE(data.m_GSensors.empty());
    EXPECT_TRUE(data.m_vGpsData.empty());
    EXPECT_TRUE(data.m_NMEAs.empty());
}

void expectWithinBounds(const ORVBlackBoxData& data) {
    EXPECT_LE(data.m_Times.capacity(), ORVBlackBoxData::kMostRecords);
    EXPECT_LE(data.m_vGSensorData.capacity(), ORVBlackBoxData::kMostRecords);
    EXPECT_LE(data.m_GSensors.capacity(), ORVBlackBoxData::kMostRecords);
    EXPECT_LE(data.m_vGpsData.capacity(), ORVBlackBoxData::kMostRecords);
    EXPECT_LE(data.m_NMEAs.capacity(), ORVBlackBoxData::kMostSentences);
}

// One real record, then as many table entries of offset 0 (the file's first
// 155 bytes, a readable chunk) as asked; the table's count and box size as
// written unless replaced.
struct RecordCountCase {
    const char* name;
    std::size_t zeroEntries;
    std::optional<std::uint32_t> count;
    std::optional<std::uint32_t> boxSize;
    std::uint64_t fileSize;  // the bytes are followed by zeros up to this size
    bool ok;
    std::size_t records;

    friend void PrintTo(const RecordCountCase& c, std::ostream* out) { *out << c.name; }
};

class RecordCountTest : public QuietLog, public ::testing::WithParamInterface<RecordCountCase> {};

TEST_P(RecordCountTest, StaysWithinWhatTheFileHoldsAndOneExtractionTakes) {
    const RecordCountCase& c = GetParam();
    Mp4TelemetryBuilder builder;
    builder.records = {TelemetryRecord{77, 0, 256, 0, 0, 0, '9', "$GPGGA,1\r\n", 0}};
    builder.extraChunkOffsets.assign(c.zeroEntries, 0);
    builder.entryCount = c.count;
    builder.tableBoxSize = c.boxSize;
    SparseByteSource source(builder.build().bytes, c.fileSize);
    ORVBlackBoxData data;
    EXPECT_EQ(data.ExtractStreamInformation(source), c.ok);
    EXPECT_EQ(data.lastFailure(), c.ok ? TelemetryFailure::None : TelemetryFailure::TooManyRecords);
    EXPECT_EQ(data.m_Times.size(), c.records);
    expectWithinBounds(data);
    if (!c.ok) {
        expectEmpty(data);
        EXPECT_EQ(lines.back(), "telemetry: the chunk table lists more records than can be read");
    }
}

constexpr std::size_t kMost = ORVBlackBoxData::kMostRecords;

INSTANTIATE_TEST_SUITE_P(
    Limits, RecordCountTest,
    ::testing::Values(
        RecordCountCase{"huge_count_in_a_sparse_8_GiB_file", 0, 4294967295u, std::nullopt, kEightGiB, true, 1},
        RecordCountCase{"huge_count_and_box_in_a_sparse_8_GiB_file", 0, 4294967295u, 4294967295u, kEightGiB, false, 0},
        RecordCountCase{"the_most_one_extraction_takes", kMost - 1, std::nullopt, std::nullopt, kEightGiB, true, kMost},
        RecordCountCase{"one_more_than_one_extraction_takes", kMost, std::nullopt, std::nullopt, kEightGiB, false, 0},
        RecordCountCase{"as_many_as_the_file_has_room_for", 999, std::nullopt, std::nullopt, 1000 * 155, true, 1000},
        RecordCountCase{"one_more_than_the_file_has_room_for", 999, std::nullopt, std::nullopt, 1000 * 155 - 1, false,
                        0},
        RecordCountCase{"a_box_running_on_past_a_small_file", 0, 4294967295u, 4294967295u, kJustTheBytes, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// Records whose text holds 42 sentences, the most 128 bytes can end, and one
// or two records of fewer to land on the bound exactly or just past it.
class SentenceCountTest : public QuietLog, public ::testing::WithParamInterface<bool> {};

TEST_P(SentenceCountTest, StopsAtTheMostSentencesOneExtractionTakes) {
    const bool onePast = GetParam();
    constexpr int kPerRecord = 42;
    Mp4TelemetryBuilder builder;
    const TelemetryRecord full{1, 0, 0, 0, 0, 0, '9', repeated("$G\n", kPerRecord), 0};
    const std::size_t fullRecords = ORVBlackBoxData::kMostSentences / kPerRecord;
    builder.records.assign(fullRecords, full);
    const int rest = static_cast<int>(ORVBlackBoxData::kMostSentences - fullRecords * kPerRecord);
    builder.records.push_back(TelemetryRecord{2, 0, 0, 0, 0, 0, '9', repeated("$G\n", rest), 0});
    if (onePast) builder.records.push_back(TelemetryRecord{3, 0, 0, 0, 0, 0, '9', "$GPGGA\n", 0});
    const auto file = builder.build();
    MemoryByteSource source(file.bytes);
    ORVBlackBoxData data;

    EXPECT_EQ(data.ExtractStreamInformation(source), !onePast);
    if (onePast) {
        EXPECT_EQ(data.lastFailure(), TelemetryFailure::TooManySentences);
        expectEmpty(data);
    } else {
        EXPECT_EQ(data.m_NMEAs.size(), ORVBlackBoxData::kMostSentences);
        EXPECT_EQ(data.m_Times.size(), builder.records.size());
        expectWithinBounds(data);
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, SentenceCountTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "one_past_the_most" : "the_most"; });

// Bytes from memory until a read reaches the chunks: then no memory is left.
class MemoryRunsOutSource : public ByteSource {
public:
    MemoryRunsOutSource(const test::BuiltFile& file, std::uint64_t firstChunk)
        : m_inner(file.bytes), m_firstChunk(firstChunk) {}
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset == m_firstChunk) throw std::bad_alloc();
        return m_inner.readAt(offset, out);
    }
    std::uint64_t size() const override { return m_inner.size(); }

private:
    MemoryByteSource m_inner;
    std::uint64_t m_firstChunk;
};

TEST_F(QuietLog, RunningOutOfMemoryIsAFailedExtraction) {
    Mp4TelemetryBuilder builder;
    builder.records.assign(3, TelemetryRecord{5, 0, 0, 0, 0, 0, '9', "$GPGGA,1\r\n", 0});
    const auto file = builder.build();
    MemoryRunsOutSource source(file, file.chunkOffsets.at(1));
    ORVBlackBoxData data;
    EXPECT_FALSE(data.ExtractStreamInformation(source));
    EXPECT_EQ(data.lastFailure(), TelemetryFailure::OutOfMemory);
    expectEmpty(data);
    EXPECT_EQ(lines.back(), "telemetry: out of memory");

    MemoryByteSource whole(file.bytes);
    EXPECT_TRUE(data.ExtractStreamInformation(whole)) << "the object stays usable";
    EXPECT_EQ(data.lastFailure(), TelemetryFailure::None);
    EXPECT_EQ(data.m_Times.size(), 3u);
}

}  // namespace
}  // namespace zentrova
