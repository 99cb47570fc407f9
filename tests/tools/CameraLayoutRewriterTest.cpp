#include "CameraLayoutRewriter.h"

#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {
using namespace samplecard;

Bytes bigEndian(std::initializer_list<std::uint64_t> values, int width) {
    Bytes out;
    ByteAppender append(out);
    for (std::uint64_t value : values) {
        if (width == 8) {
            append.bigEndian64(value);
        } else {
            append.bigEndian32(static_cast<std::uint32_t>(value));
        }
    }
    return out;
}

Mp4Box track(const std::string& tableType, std::initializer_list<std::uint64_t> offsets) {
    Bytes table = bigEndian({0, offsets.size()}, 4);
    const Bytes entries = bigEndian(offsets, tableType == "co64" ? 8 : 4);
    table.insert(table.end(), entries.begin(), entries.end());
    Mp4Box stbl = Mp4Box::parent("stbl", {Mp4Box::leaf("stsd", Bytes(8, 0)), Mp4Box::leaf(tableType, table)});
    Mp4Box minf = Mp4Box::parent("minf", {Mp4Box::leaf("vmhd", Bytes(12, 0)), stbl});
    return Mp4Box::parent("trak", {Mp4Box::leaf("tkhd", Bytes(84, 0)),
                                   Mp4Box::parent("mdia", {Mp4Box::leaf("mdhd", Bytes(24, 0)), minf})});
}

Mp4Box movieHeader() {
    Bytes mvhd(100, 0);
    mvhd[15] = 0xE8;  // timescale 1000
    mvhd[14] = 0x03;
    mvhd[99] = 3;     // next track 3
    return Mp4Box::leaf("mvhd", mvhd);
}

// ftyp, free, mdat, moov as ffmpeg writes them, with two tracks whose
// chunks sit at known places in the media data.
Bytes ffmpegLikeFile(std::vector<Mp4Box> moovChildren) {
    Bytes media(200);
    for (std::size_t i = 0; i < media.size(); ++i) media[i] = static_cast<std::uint8_t>(i);
    Bytes out;
    Mp4Box::leaf("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0, 'i', 's', 'o', 'm'}).writeTo(out);
    Mp4Box::leaf("free", {}).writeTo(out);
    Mp4Box::leaf("mdat", media).writeTo(out);
    Mp4Box::parent("moov", std::move(moovChildren)).writeTo(out);
    return out;
}

constexpr std::uint64_t kMediaAt = 20 + 8 + 8;  // ftyp, free, mdat header

std::vector<TelemetryRecord> twoRecords() {
    TelemetryRecord first;
    first.time = 1718350200;
    first.x = -256;
    first.text = "$GNRMC,073000.000,A,4703.0120,N,00818.5580,E,10.00,90.00,140624,,,A*00\r\n";
    TelemetryRecord second = first;
    second.time = 1718350201;
    second.z = 256;
    return {first, second};
}

TEST(CameraLayoutRewriterTest, ChunkOffsetsStillPointAtTheSameMediaBytes) {
    const Bytes input = ffmpegLikeFile({movieHeader(), track("stco", {kMediaAt + 10, kMediaAt + 150}),
                                        track("co64", {kMediaAt + 0, kMediaAt + 199}), Mp4Box::leaf("udta", {})});
    const RewriteResult result = CameraLayoutRewriter().rewrite(input, twoRecords());
    ASSERT_TRUE(result.file) << result.error;
    const Bytes& out = *result.file;
    auto boxes = readMp4Boxes(out);
    ASSERT_TRUE(boxes);
    ASSERT_EQ(boxes->size(), 3u);
    EXPECT_EQ((*boxes)[0].type, "ftyp");
    EXPECT_EQ(std::string((*boxes)[0].payload.begin(), (*boxes)[0].payload.begin() + 4), "avc1");
    EXPECT_EQ((*boxes)[1].type, "mdat");
    EXPECT_EQ((*boxes)[1].payload.size(), 200 + 2 * TelemetryRecord::kChunkSize);
    const Mp4Box& moov = (*boxes)[2];
    ASSERT_EQ(moov.type, "moov");
    ASSERT_EQ(moov.children.size(), 5u);
    EXPECT_EQ(moov.children[3].type, "udta");
    EXPECT_EQ(moov.children[4].type, "trak");

    const std::vector<std::pair<int, std::vector<std::uint8_t>>> expected{{1, {10, 150}}, {2, {0, 199}}};
    for (const auto& [index, values] : expected) {
        const Mp4Box& stbl = *moov.children[static_cast<std::size_t>(index)].child("mdia")->child("minf")->child("stbl");
        const Mp4Box& table = stbl.children.back();
        const bool wide = table.type == "co64";
        for (std::size_t i = 0; i < values.size(); ++i) {
            const std::uint8_t* entry = table.payload.data() + 8 + i * (wide ? 8 : 4);
            const std::uint64_t offset = wide ? readBigEndian64(entry) : readBigEndian32(entry);
            ASSERT_LT(offset, out.size());
            EXPECT_EQ(out[offset], values[i]) << table.type << " entry " << i;
        }
    }
    // mvhd now hands out the next track number after the telemetry track's.
    EXPECT_EQ(moov.children[0].payload[99], 4);
}

TEST(CameraLayoutRewriterTest, TheCamerasReaderFindsTheRecords) {
    const Bytes input = ffmpegLikeFile({movieHeader(), track("stco", {kMediaAt}), track("stco", {kMediaAt + 4})});
    const RewriteResult result = CameraLayoutRewriter().rewrite(input, twoRecords());
    ASSERT_TRUE(result.file) << result.error;
    // Only two tracks: a filler box takes the fourth place so the telemetry track is still the fifth child.
    auto boxes = readMp4Boxes(*result.file);
    ASSERT_TRUE(boxes);
    EXPECT_EQ((*boxes)[2].children[3].type, "free");

    MemoryByteSource source(*result.file);
    ORVBlackBoxData data;
    ASSERT_TRUE(data.ExtractStreamInformation(source));
    EXPECT_EQ(data.m_Times, (std::vector<std::uint32_t>{1718350200, 1718350201}));
    ASSERT_EQ(data.m_GSensors.size(), 2u);
    EXPECT_EQ(data.m_GSensors[0].x(), -1.0f);
    EXPECT_EQ(data.m_GSensors[1].z(), 1.0f);
    ASSERT_EQ(data.m_NMEAs.size(), 2u);
    EXPECT_EQ(data.m_NMEAs[0].SpeedOverGround, 10.0);
}

TEST(CameraLayoutRewriterTest, NoRecordsGiveAnEmptyTable) {
    const Bytes input = ffmpegLikeFile({movieHeader(), track("stco", {kMediaAt})});
    const RewriteResult result = CameraLayoutRewriter().rewrite(input, {});
    ASSERT_TRUE(result.file) << result.error;
    MemoryByteSource source(*result.file);
    ORVBlackBoxData data;
    EXPECT_TRUE(data.ExtractStreamInformation(source));
    EXPECT_TRUE(data.m_Times.empty());
}

TEST(CameraLayoutRewriterTest, RefusesWhatItCannotLayOut) {
    struct Case {
        const char* name;
        Bytes input;
    };
    Bytes noMoov;
    Mp4Box::leaf("ftyp", {'i', 's', 'o', 'm'}).writeTo(noMoov);
    Mp4Box::leaf("mdat", Bytes(10)).writeTo(noMoov);
    Bytes truncated = ffmpegLikeFile({movieHeader(), track("stco", {kMediaAt})});
    truncated.resize(truncated.size() - 3);
    const Bytes tableTooShort = ffmpegLikeFile({movieHeader(), [] {
        Mp4Box broken = track("stco", {kMediaAt});
        Mp4Box& table = broken.children[1].children[1].children[1].children[1];
        table.payload[7] = 9;  // claims nine entries, holds one
        return broken;
    }()});
    const Bytes noMovieHeader = ffmpegLikeFile({track("stco", {kMediaAt})});
    const std::vector<Case> cases{{"no moov", noMoov},
                                  {"truncated", truncated},
                                  {"table shorter than its count", tableTooShort},
                                  {"no mvhd", noMovieHeader},
                                  {"empty", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RewriteResult result = CameraLayoutRewriter().rewrite(c.input, twoRecords());
        EXPECT_FALSE(result.file);
        EXPECT_FALSE(result.error.empty());
    }
}

}  // namespace
}  // namespace zentrova
