#include "common/Log.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include "support/Mp4TelemetryBuilder.h"
#include "support/SparseByteSource.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::BuiltFile;
using test::Mp4TelemetryBuilder;
using test::SparseByteSource;
using test::TelemetryRecord;

constexpr const char* kRmc = "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
// Short enough to share the 128 text bytes with the RMC sentence.
constexpr const char* kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9*47";

std::vector<TelemetryRecord> threeRecords() {
    return {
        {1000, 0, -256, 384, 0, 7, '9', std::string(kRmc) + "\r\n" + kGga + "\r\n", 0xABCD},
        {1001, 0xFFFFFFFF, 256, -128, 1, 0, '1', "no terminator here", 0},
        {1002, 0, 2147483647, -2147483647 - 1, 0, 0, '9', std::string("$GNGSA,A,3,03,07,19,,,,,,,,,,1.8,1.0,1.5*00") + '\0', 0},
    };
}

bool extract(ORVBlackBoxData& data, const BuiltFile& file) {
    MemoryByteSource source(file.bytes);
    return data.ExtractStreamInformation(source);
}

void expectEmpty(const ORVBlackBoxData& data) {
    EXPECT_TRUE(data.m_Times.empty());
    EXPECT_TRUE(data.m_vGSensorData.empty());
    EXPECT_TRUE(data.m_GSensors.empty());
    EXPECT_TRUE(data.m_vGpsData.empty());
    EXPECT_TRUE(data.m_NMEAs.empty());
    EXPECT_TRUE(data.m_TimeEvents.empty());
}

class QuietLog : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }
    std::vector<std::string> lines;
};

using ORVBlackBoxDataTest = QuietLog;

TEST_F(ORVBlackBoxDataTest, ReadsOneRecordPerChunkIntoParallelLists) {
    Mp4TelemetryBuilder builder;
    builder.records = threeRecords();
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, builder.build()));

    EXPECT_EQ(data.m_Times, (std::vector<std::uint32_t>{1000, 1001, 1002}));
    ASSERT_EQ(data.m_vGSensorData.size(), 3u);
    EXPECT_EQ(data.m_vGSensorData[0].X(), -256);
    EXPECT_EQ(data.m_vGSensorData[0].Y(), 384);
    EXPECT_EQ(data.m_vGSensorData[0].T(), 7);
    ASSERT_EQ(data.m_GSensors.size(), 3u);
    EXPECT_EQ(data.m_GSensors[0], ORVGSensor(-1.0f, 1.5f, 0.0f));
    EXPECT_EQ(data.m_GSensors[1], ORVGSensor(1.0f, -0.5f, 0.00390625f));
    EXPECT_EQ(data.m_GSensors[2], ORVGSensor(8388608.0f, -8388608.0f, 0.0f));
    ASSERT_EQ(data.m_vGpsData.size(), 3u);
    EXPECT_EQ(data.m_vGpsData[0].unit(), '9');
    EXPECT_EQ(data.m_vGpsData[1].unit(), '1');

    ASSERT_EQ(data.m_NMEAs.size(), 3u) << "two sentences, none, one";
    EXPECT_EQ(data.m_NMEAs[0].SpeedOverGround, 22.399999618530273);
    EXPECT_EQ(data.m_NMEAs[0].Latitude, 0.0);
    EXPECT_EQ(data.m_NMEAs[1].Latitude, 4807.0380859375);
    EXPECT_EQ(data.m_NMEAs[1].SpeedOverGround, 22.399999618530273) << "snapshots accumulate";
    EXPECT_EQ(data.m_NMEAs[2].SatelliteUsedCount, 3u);
    EXPECT_EQ(data.m_NMEAs[2].HDOP, 0.8999999761581421);
    EXPECT_EQ(data.frameCount(), 2u);
    EXPECT_EQ(lines, (std::vector<std::string>{"#############################   START",
                                               "#############################  FINISH"}));
}

TEST_F(ORVBlackBoxDataTest, StoredTextHasLineEndsReplacedByNul) {
    Mp4TelemetryBuilder builder;
    builder.records = {{1, 0, 0, 0, 0, 0, '9', std::string(kGga) + "\r\nrest", 0}};
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, builder.build()));
    const std::string_view text = data.m_vGpsData[0].gpsString();
    const std::size_t end = std::strlen(kGga);
    EXPECT_EQ(text.substr(0, end), kGga);
    EXPECT_EQ(text[end], '\0');
    EXPECT_EQ(text[end + 1], '\0');
    EXPECT_EQ(text.substr(end + 2, 4), "rest");
}

TEST_F(ORVBlackBoxDataTest, CameraOrderWithChunksBeforeMoovAndChunksOutOfOrder) {
    Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.reverseChunks = true;
    builder.records = threeRecords();
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, builder.build()));
    EXPECT_EQ(data.m_Times, (std::vector<std::uint32_t>{1000, 1001, 1002})) << "table order, not file order";
}

struct LayoutCase {
    const char* what;
    void (*change)(Mp4TelemetryBuilder&);
};

const LayoutCase kRefusedLayouts[] = {
    {"major_brand_not_avc1", [](Mp4TelemetryBuilder& b) { b.majorBrand = "isom"; }},
    {"first_box_not_ftyp", [](Mp4TelemetryBuilder& b) { b.ftypType = "ftyq"; }},
    {"moov_directly_after_ftyp_is_skipped", [](Mp4TelemetryBuilder& b) { b.boxAfterFtyp = false; }},
    {"moov_directly_after_ftyp_and_nothing_after", [](Mp4TelemetryBuilder& b) {
         b.boxAfterFtyp = false;
         b.records.clear();
     }},
    {"moov_of_another_type", [](Mp4TelemetryBuilder& b) { b.moovType = "moof"; }},
    {"table_not_stco", [](Mp4TelemetryBuilder& b) { b.tableType = "co64"; }},
    {"telemetry_track_not_fifth_child", [](Mp4TelemetryBuilder& b) { b.boxesBeforeTelemetryTrack = 2; }},
};

class RefusedLayoutTest : public ::testing::TestWithParam<LayoutCase> {
protected:
    void SetUp() override { setLogSink([](std::string_view) {}); }
    void TearDown() override { setLogSink({}); }
};

TEST_P(RefusedLayoutTest, GivesNoAndEmptyLists) {
    Mp4TelemetryBuilder good;
    good.records = threeRecords();
    Mp4TelemetryBuilder bad = good;
    GetParam().change(bad);

    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, good.build()));
    ASSERT_FALSE(data.m_Times.empty());
    EXPECT_FALSE(extract(data, bad.build()));
    expectEmpty(data);
}

INSTANTIATE_TEST_SUITE_P(Checks, RefusedLayoutTest, ::testing::ValuesIn(kRefusedLayouts),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(ORVBlackBoxDataTest, OnlyTheFourChecksAreMade) {
    // Other box types along the path do not matter; only the arithmetic does.
    Mp4TelemetryBuilder builder;
    builder.records = threeRecords();
    BuiltFile file = builder.build();
    for (const test::BoxSpan& box : file.boxes) {
        if (box.type != "ftyp" && box.type != "moov" && box.type != "stco" && box.type != "mdat") {
            std::memcpy(file.bytes.data() + box.start + 4, "abcd", 4);
        }
    }
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, file));
    EXPECT_EQ(data.m_Times.size(), 3u);
}

TEST_F(ORVBlackBoxDataTest, EmptyChunkTableGivesYesAndEmptyLists) {
    Mp4TelemetryBuilder builder;
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, builder.build()));
    expectEmpty(data);
    EXPECT_EQ(data.frameCount(), 1u);
}

TEST_F(ORVBlackBoxDataTest, ChunksOutsideTheFileContributeNothing) {
    Mp4TelemetryBuilder builder;
    builder.records = threeRecords();
    builder.extraChunkOffsets = {0xFFFFFFF0u, 0, 0, 0};
    const std::size_t size = builder.build().bytes.size();
    // A chunk ending one byte past the end, and one ending exactly at the end.
    builder.extraChunkOffsets = {0xFFFFFFF0u, 0, static_cast<std::uint32_t>(size - 154),
                                 static_cast<std::uint32_t>(size - 155)};
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, builder.build()));
    EXPECT_EQ(data.m_Times.size(), 5u) << "three records, the chunk at offset 0 and the last one";
    EXPECT_EQ(data.m_vGpsData.size(), 5u);
}

// The table header of a three-record file, damaged in its count or its box size.
struct TableHeaderCase {
    const char* name;
    std::optional<std::uint32_t> count;
    std::optional<std::uint32_t> boxSize;
    bool ok;
    std::size_t records;
    TelemetryFailure failure;

    friend void PrintTo(const TableHeaderCase& c, std::ostream* out) { *out << c.name; }
};

class TableHeaderTest : public QuietLog, public ::testing::WithParamInterface<TableHeaderCase> {};

TEST_P(TableHeaderTest, ReadsOnlyEntriesInsideTheBoxAndTheFile) {
    const TableHeaderCase& c = GetParam();
    Mp4TelemetryBuilder builder;
    builder.records = threeRecords();
    builder.entryCount = c.count;
    builder.tableBoxSize = c.boxSize;
    ORVBlackBoxData data;
    EXPECT_EQ(extract(data, builder.build()), c.ok);
    EXPECT_EQ(data.lastFailure(), c.failure);
    EXPECT_EQ(data.m_Times.size(), c.records);
    EXPECT_EQ(data.m_vGpsData.size(), c.records);
    if (!c.ok) expectEmpty(data);
}

INSTANTIATE_TEST_SUITE_P(
    Damaged, TableHeaderTest,
    ::testing::Values(
        TableHeaderCase{"huge_count_reads_only_the_box", 4294967295u, std::nullopt, true, 3, TelemetryFailure::None},
        TableHeaderCase{"box_shorter_than_the_count", std::nullopt, 16 + 2 * 4, true, 2, TelemetryFailure::None},
        TableHeaderCase{"box_size_not_a_whole_entry", std::nullopt, 16 + 2 * 4 + 3, true, 2, TelemetryFailure::None},
        TableHeaderCase{"count_shorter_than_the_box", 1, std::nullopt, true, 1, TelemetryFailure::None},
        TableHeaderCase{"box_smaller_than_its_header", 4294967295u, 8, true, 0, TelemetryFailure::None},
        TableHeaderCase{"box_and_count_past_the_end", 4294967295u, 4294967295u, false, 0,
                        TelemetryFailure::TooManyRecords}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ORVBlackBoxDataTest, FailureToOpenGivesNoAndClearsEverything) {
    Mp4TelemetryBuilder builder;
    builder.records = threeRecords();
    ORVBlackBoxData data;
    ASSERT_TRUE(extract(data, builder.build()));
    data.m_udatRecPark = 3;
    data.m_LastTimeEventType = 9;
    EXPECT_FALSE(data.ExtractStreamInformation("/nonexistent/alwa_20190312_081500_F.MP4"));
    expectEmpty(data);
    EXPECT_EQ(data.m_udatRecPark, 0);
    EXPECT_EQ(data.m_LastTimeEventType, 0u);
    EXPECT_EQ(lines.back(), "#############################   START");
}

// Chunks back to back, with other data between them that the file reader
// reads past, and with more than it does.
class FileAndMemoryTest : public QuietLog, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(FileAndMemoryTest, GiveTheSameLists) {
    Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    builder.gapAfterChunk = GetParam();
    for (int i = 0; i < 4; ++i) {
        for (TelemetryRecord record : threeRecords()) {
            record.time += static_cast<std::uint32_t>(3 * i);
            builder.records.push_back(record);
        }
    }
    const BuiltFile file = builder.build();
    test::TempDir dir;
    const std::string path = (dir.path() / "alwa_20190312_081500_F.MP4").string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.bytes.data()),
                                                static_cast<std::streamsize>(file.bytes.size()));
    ORVBlackBoxData fromFile;
    ORVBlackBoxData fromMemory;
    ASSERT_TRUE(fromFile.ExtractStreamInformation(path));
    ASSERT_TRUE(extract(fromMemory, file));
    EXPECT_EQ(fromFile.m_Times, fromMemory.m_Times);
    EXPECT_EQ(fromFile.m_GSensors, fromMemory.m_GSensors);
    EXPECT_EQ(fromFile.m_NMEAs, fromMemory.m_NMEAs);
    EXPECT_EQ(fromFile.m_Times.size(), 12u);
    EXPECT_FALSE(fromFile.ExtractStreamInformation(dir.str())) << "a directory is not a recording";
}

INSTANTIATE_TEST_SUITE_P(Gaps, FileAndMemoryTest, ::testing::Values(0, 3000, 20000));

std::vector<ORVGpsData> nmeaSnapshots(std::string text) {
    ORVBlackBoxData data;
    std::vector<std::uint8_t> buffer(text.begin(), text.end());
    EXPECT_TRUE(data.ParseNMEA(buffer.data(), static_cast<std::uint32_t>(buffer.size())));
    return data.m_NMEAs;
}

TEST(ParseNMEATest, SplitsAtCrLfAndNul) {
    EXPECT_EQ(nmeaSnapshots(std::string(kRmc) + "\r\n" + kGga + "\r\n").size(), 2u);
    EXPECT_EQ(nmeaSnapshots(std::string(kRmc) + '\0' + kGga + '\n').size(), 2u);
    EXPECT_EQ(nmeaSnapshots(std::string(kRmc) + '\r' + kGga).size(), 1u) << "text after the last end is not parsed";
    EXPECT_EQ(nmeaSnapshots(kRmc).size(), 0u);
    EXPECT_EQ(nmeaSnapshots("$PGRMC,1*00\r\n$G\r\n").size(), 1u) << "only sentences starting $G";
    EXPECT_EQ(nmeaSnapshots("\r\n\r\n\0\0").size(), 0u);
}

TEST(ParseNMEATest, EveryTerminatedGSentenceAddsASnapshotRecognisedOrNot) {
    const auto snapshots = nmeaSnapshots(std::string(kRmc) + "\r\n$GPGSV,1,1,01,03,03,111,40*00\r\n$Gxx\n" + kGga + "\n");
    ASSERT_EQ(snapshots.size(), 4u);
    EXPECT_EQ(snapshots[1], snapshots[0]);
    EXPECT_EQ(snapshots[2], snapshots[0]);
    EXPECT_EQ(snapshots[3].SpeedOverGround, snapshots[0].SpeedOverGround);
    EXPECT_EQ(snapshots[3].Latitude, 4807.0380859375);
}

TEST(ParseNMEATest, DollarStartsASentenceAnywhere) {
    const auto snapshots = nmeaSnapshots(std::string("noise$GPRMC,garbled$") + kGga + "\n");
    ASSERT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(snapshots[0].Latitude, 4807.0380859375);
}

TEST(ParseNMEATest, RefusesNullAndEmptyBuffers) {
    ORVBlackBoxData data;
    std::uint8_t byte = '\n';
    EXPECT_FALSE(data.ParseNMEA(nullptr, 10));
    EXPECT_FALSE(data.ParseNMEA(&byte, 0));
    EXPECT_TRUE(data.ParseNMEA(&byte, 1));
    EXPECT_EQ(byte, 0);
}

// Buffers of every length around the eight-byte steps of the splitter:
// only bytes inside the buffer end a sentence.
TEST(ParseNMEATest, EveryBufferLengthEndsSentencesOnlyAtItsOwnBytes) {
    const std::string sentence = "$GNGNS*";
    for (std::size_t length = sentence.size(); length <= 3 * sentence.size(); ++length) {
        SCOPED_TRACE(length);
        std::string open = sentence + std::string(length - sentence.size(), 'x');
        EXPECT_EQ(nmeaSnapshots(open).size(), 0u);
        std::string closed = open;
        closed.back() = '\r';
        EXPECT_EQ(nmeaSnapshots(closed).size(), 1u);
        std::string twice = "$x\n" + sentence + "\n" + std::string(length - sentence.size(), '\0');
        EXPECT_EQ(nmeaSnapshots(twice).size(), 1u);
    }
}

TEST(ParseNMEATest, FullBufferWithoutTerminatorAndSentenceEndingAtLastByte) {
    std::string full = std::string(kGga) + std::string(128 - std::strlen(kGga), 'x');
    EXPECT_EQ(nmeaSnapshots(full).size(), 0u);
    full.back() = '\n';
    EXPECT_EQ(nmeaSnapshots(full).size(), 1u);
}

TEST(ParseGSensorTest, ScalesByOneOver256AfterTheFloatConversion) {
    struct Case {
        std::int32_t raw[3];
        float scaled[3];
    };
    const Case cases[] = {
        {{-256, 384, 0}, {-1.0f, 1.5f, 0.0f}},
        {{256, -128, 1}, {1.0f, -0.5f, 0.00390625f}},
        {{2147483647, -2147483647 - 1, 2147483520}, {8388608.0f, -8388608.0f, 8388607.5f}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> block;
        for (std::int32_t v : c.raw) test::appendLittleEndian32(block, static_cast<std::uint32_t>(v));
        test::appendLittleEndian32(block, 99);
        ORVBlackBoxData data;
        ASSERT_TRUE(data.ParseGSensor(block.data(), 16));
        ASSERT_EQ(data.m_GSensors.size(), 1u);
        EXPECT_EQ(data.m_GSensors[0], ORVGSensor(c.scaled[0], c.scaled[1], c.scaled[2]));
    }
    ORVBlackBoxData data;
    std::uint8_t shortBlock[12] = {};
    EXPECT_FALSE(data.ParseGSensor(shortBlock, 12));
    EXPECT_FALSE(data.ParseGSensor(nullptr, 16));
    EXPECT_TRUE(data.m_GSensors.empty());
}

TEST(FrameCountTest, SamplesMinusOneButAtLeastOne) {
    const std::pair<std::size_t, std::uint32_t> cases[] = {{0, 1}, {1, 1}, {2, 1}, {3, 2}, {10, 9}};
    for (const auto& [samples, expected] : cases) {
        ORVBlackBoxData data;
        data.m_GSensors.resize(samples);
        EXPECT_EQ(data.frameCount(), expected) << samples;
    }
}

std::vector<std::uint8_t> timeRecord(std::uint32_t seconds, std::uint32_t eventType) {
    std::vector<std::uint8_t> record;
    test::appendLittleEndian32(record, seconds);
    record.resize(12, 0xEE);
    test::appendBigEndian32(record, eventType);
    return record;
}

TEST(ParseTimeTest, RunsOfTheSameEventTypeGiveOneEventAtTheirStart) {
    ORVBlackBoxData data;
    const std::uint32_t types[] = {0, 2, 2, 0, 1};
    for (std::uint32_t i = 0; i < 5; ++i) {
        const auto record = timeRecord(1234567890 + i, types[i]);
        ASSERT_TRUE(data.ParseTime(record.data(), 16));
    }
    ASSERT_EQ(data.m_TimeEvents.size(), 2u);
    EXPECT_EQ(data.m_TimeEvents[0].e(), 1u);
    EXPECT_EQ(data.m_TimeEvents[0].f(), 1u);
    EXPECT_EQ(data.m_TimeEvents[0].t(), (SYSTEMTIME{2009, 2, 0, 13, 23, 31, 31, 0}));
    EXPECT_EQ(data.m_TimeEvents[1].e(), 0u);
    EXPECT_EQ(data.m_TimeEvents[1].f(), 4u);
    EXPECT_EQ(data.m_TimeEvents[1].t(), (SYSTEMTIME{2009, 2, 0, 13, 23, 31, 34, 0}));
    EXPECT_EQ(data.m_Times.size(), 5u);
    EXPECT_EQ(data.m_Times[4], 1234567894u);
    EXPECT_EQ(data.m_LastTimeEventType, 1u);
}

TEST(ParseTimeTest, ChangingNonZeroTypeStartsANewRunAndCalendarCoversTheWholeRange) {
    ORVBlackBoxData data;
    const auto first = timeRecord(0, 1);
    const auto second = timeRecord(4294967295u, 0x01000000u);
    ASSERT_TRUE(data.ParseTime(first.data(), 16));
    ASSERT_TRUE(data.ParseTime(second.data(), 20));
    ASSERT_EQ(data.m_TimeEvents.size(), 2u);
    EXPECT_EQ(data.m_TimeEvents[0].t(), (SYSTEMTIME{1970, 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(data.m_TimeEvents[1].t(), (SYSTEMTIME{2106, 2, 0, 7, 6, 28, 15, 0}));
    EXPECT_EQ(data.m_TimeEvents[1].e(), 1u);
    EXPECT_EQ(data.m_LastTimeEventType, 0x01000000u) << "the event type is big-endian";
}

TEST(ParseTimeTest, RefusesBuffersThatCannotHoldARecord) {
    ORVBlackBoxData data;
    const auto record = timeRecord(5, 2);
    EXPECT_FALSE(data.ParseTime(nullptr, 16));
    EXPECT_FALSE(data.ParseTime(record.data(), 0));
    EXPECT_FALSE(data.ParseTime(record.data(), 15));
    EXPECT_TRUE(data.m_Times.empty());
    EXPECT_TRUE(data.m_TimeEvents.empty());
}

TEST(ParseFrameDataTest, SetsTheThreeFlagsFromAnEightByteBlock) {
    ORVBlackBoxData data;
    const std::uint8_t block[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_TRUE(data.ParseFrameData(block, 8));
    EXPECT_EQ(data.m_udatSpeedDisplay, 5);
    EXPECT_EQ(data.m_udatRecPark, 7);
    EXPECT_EQ(data.m_udatIncludeEvent, 8);
    EXPECT_FALSE(data.ParseFrameData(block, 9));
    EXPECT_FALSE(data.ParseFrameData(block, 7));
    EXPECT_FALSE(data.ParseFrameData(nullptr, 8));
    EXPECT_TRUE(data.ParseTimeEvent(block, 9));
    data.clear();
    EXPECT_EQ(data.m_udatSpeedDisplay, 0);
    EXPECT_EQ(data.m_udatRecPark, 0);
    EXPECT_EQ(data.m_udatIncludeEvent, 0);
}

// What one extraction may take, whatever a damaged or hostile file says:
// records, sentences and memory stay within the stated bounds, and running
// out of memory is a failed extraction.

constexpr std::uint64_t kEightGiB = std::uint64_t{8} << 30;
constexpr std::uint64_t kJustTheBytes = 0;  // no zeros after the bytes

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

TEST_F(ORVBlackBoxDataTest, RunningOutOfMemoryIsAFailedExtraction) {
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
