#include "SmallSampleCard.h"

#include "ChildProcess.h"

#include "recordings/ORVMediaList.h"
#include "settings/FILEDATA.h"
#include "settings/FileDataFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace zentrova {
namespace {
using tools::ChildProcess;
using tools::ProcessResult;
using samplecard::SampleRecording;
using test::SmallSampleCard;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SampleCardContentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SmallSampleCard::get().result.card) << SmallSampleCard::get().result.error;
    }
    static const samplecard::SampleCard& card() { return SmallSampleCard::get().card(); }
    static std::string root() { return (SmallSampleCard::get().dir.path() / "card").string(); }
};

TEST_F(SampleCardContentsTest, ScanFindsEveryRecordingWithItsModeAndSides) {
    auto list = ORVMediaList::scanDirectory(root());
    ASSERT_TRUE(list);
    std::size_t files = 0;
    std::set<std::string> folders;
    int frontOnly = 0, rearOnly = 0;
    std::set<ORVMediaDivision> modes;
    for (const SampleRecording& recording : card().recordings) {
        SCOPED_TRACE(recording.groupName);
        const bool front = !recording.frontPath.empty();
        const bool rear = !recording.rearPath.empty();
        files += (front ? 1 : 0) + (rear ? 1 : 0);
        frontOnly += front && !rear;
        rearOnly += rear && !front;
        const std::string any = front ? recording.frontPath : recording.rearPath;
        folders.insert(std::filesystem::path(any).parent_path().string());
        auto pair = list->findMediaPairWithFileName(std::filesystem::path(any).filename().string());
        ASSERT_TRUE(pair);
        ASSERT_EQ(pair->frontMedia != nullptr, front);
        ASSERT_EQ(pair->rearMedia != nullptr, rear);
        const auto& media = front ? pair->frontMedia : pair->rearMedia;
        EXPECT_EQ(media->mediaGroupName(), recording.groupName);
        EXPECT_EQ(media->year(), recording.start.year);
        EXPECT_EQ(media->minute(), recording.start.minute);
        EXPECT_EQ(media->second(), recording.start.second);
        const ORVMediaDivision expected = recording.mode == samplecard::RecordingMode::Event    ? ORVMediaDivisionEvent
                                          : recording.mode == samplecard::RecordingMode::Motion ? ORVMediaDivisionMotion
                                                                                                 : ORVMediaDivisionAlways;
        EXPECT_EQ(media->mediaDivision(), expected);
        modes.insert(media->mediaDivision());
    }
    EXPECT_EQ(list->count(), files);
    EXPECT_EQ(list->mediaPairDic().size(), card().recordings.size());
    EXPECT_EQ(card().recordings.size(), std::size_t{SmallSampleCard::kContinuous + 4});
    EXPECT_EQ(modes.size(), 3u);
    EXPECT_GE(folders.size(), 2u);
    EXPECT_GE(frontOnly, 1);
    EXPECT_EQ(rearOnly, 1);
}

TEST_F(SampleCardContentsTest, CliScanListsTheCard) {
    const ProcessResult run = ChildProcess::run({std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli", "scan", root()});
    EXPECT_TRUE(run.succeeded()) << run.errorOutput;
}

struct Streams {
    std::string text;
    bool ok = false;
};

Streams probe(const std::string& path) {
    // ffprobe's answer goes to standard output, which the runner drops: let it write a file.
    const std::string out = path + ".probe";
    const ProcessResult run = ChildProcess::run({"ffprobe", "-v", "error", "-show_entries", "stream=codec_type,codec_name",
                                                 "-of", "csv=p=0", "-o", out, path});
    Streams streams{readText(out), run.succeeded() && run.errorOutput.empty()};
    std::filesystem::remove(out);
    return streams;
}

TEST_F(SampleCardContentsTest, FrontFilesHaveVideoAndSoundRearFilesOnlyVideoAndAllDecode) {
    for (const SampleRecording& recording : card().recordings) {
        if (!recording.frontPath.empty()) {
            SCOPED_TRACE(recording.frontPath);
            const Streams streams = probe(recording.frontPath);
            EXPECT_TRUE(streams.ok);
            EXPECT_NE(streams.text.find("h264,video"), std::string::npos) << streams.text;
            EXPECT_NE(streams.text.find("aac,audio"), std::string::npos) << streams.text;
        }
        if (!recording.rearPath.empty()) {
            SCOPED_TRACE(recording.rearPath);
            const Streams streams = probe(recording.rearPath);
            EXPECT_TRUE(streams.ok);
            EXPECT_NE(streams.text.find("h264,video"), std::string::npos) << streams.text;
            EXPECT_EQ(streams.text.find("audio"), std::string::npos) << streams.text;
        }
        for (const std::string& path : {recording.frontPath, recording.rearPath}) {
            if (path.empty()) continue;
            const ProcessResult decode = ChildProcess::run({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "null", "-"});
            EXPECT_TRUE(decode.succeeded()) << path;
            EXPECT_EQ(decode.errorOutput, "") << path;
        }
    }
}

TEST_F(SampleCardContentsTest, SettingsFileIsAResetRecordInTheCardsTimeZoneWithAValidChecksum) {
    EXPECT_EQ(std::filesystem::file_size(card().settingsPath), kFileDataSize);
    FILEDATA record;
    ASSERT_EQ(readFileData(card().settingsPath, record), FileDataReadResult::Read);
    EXPECT_EQ(record.cfg_ver, 22310);
    EXPECT_EQ(record.checksum, fileDataChecksum(record));
    EXPECT_NE(record.checksum, 0);
    // +01:00 with summer time: the two hours between the file names and GPS.
    EXPECT_EQ(record.time_gmt, 15);
    EXPECT_EQ(record.summer_time, 1u);
    EXPECT_TRUE(card().faults.empty());
}

TEST_F(SampleCardContentsTest, ClockFileHoldsTheCardsStartTime) {
    EXPECT_EQ(readText(card().clockPath), "2024/06/14 09:30:00");
    EXPECT_EQ(std::filesystem::path(card().clockPath).filename(), "timeset.cfg");
}

TEST_F(SampleCardContentsTest, DriveLogHoldsTheRecordsAlongTheRoute) {
    EXPECT_EQ(card().driveLogPath, root() + "/DrvInfo/zentrova_000.drv");
    const std::string bytes = readText(card().driveLogPath);
    const auto u8 = [&](std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); };
    const auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8)); };
    const std::size_t count = u16(0) | (std::size_t{u16(2)} << 16);
    ASSERT_EQ(count, card().driveLog.size());
    ASSERT_EQ(bytes.size(), 12 + 40 * count);
    ASSERT_GT(count, 10u);
    int moving = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 12 + 40 * i;
        SCOPED_TRACE(i);
        EXPECT_EQ(u16(at), i + 1);
        EXPECT_EQ(u8(at + 4), 124);  // 2024
        EXPECT_EQ(u8(at + 2), 5);    // 2024-06-14 was a Friday
        if (u8(at + 3) == 1) {
            EXPECT_EQ(u16(at + 10) / 100, 47);  // latitude degrees of the route
            EXPECT_EQ(u16(at + 14) / 100, 8);   // longitude degrees
            EXPECT_LT(u16(at + 12), 10000);
        }
        moving += u16(at + 18) > 20;
        EXPECT_LE(u16(at + 18), u16(at + 28));  // never above the top speed so far
    }
    EXPECT_GT(moving, 3);
}

}  // namespace
}  // namespace zentrova
