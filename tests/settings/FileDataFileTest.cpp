#include "settings/FileDataFile.h"
#include "support/FileText.h"

#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "support/AsUnprivilegedUser.h"
#include "support/ChildProcess.h"
#include "support/HeldOpenFifo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

std::string bytesText(const FileDataBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

FILEDATA sampleRecord() {
    FILEDATA record;
    resetFileData(record);
    record.gsen_x_threshold = -7;
    record.time_gmt = 33;
    std::memcpy(record.szPlateNumber, "12AB3456", 8);
    prepareFileDataForWriting(record);
    return record;
}

std::vector<std::string> namesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    return names;
}

class FileDataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { m_log.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }
    std::vector<std::string> m_log;
};

TEST_F(FileDataFileTest, ReadsOnlyAFileOfExactly500Bytes) {
    const FileDataBytes stored = fileDataBytes(sampleRecord());
    TempDir dir;
    struct Case {
        std::size_t size;
        FileDataReadResult result;
    } cases[] = {
        {499, FileDataReadResult::NotASettingsFile},
        {500, FileDataReadResult::Read},
        {501, FileDataReadResult::NotASettingsFile},
        {0, FileDataReadResult::NotASettingsFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        std::string content = bytesText(stored);
        content.resize(c.size, '\x01');
        fs::path file = dir.touch("config.bin", content);
        FILEDATA record;
        resetFileData(record);
        EXPECT_EQ(readFileData(file.string(), record), c.result);
        FILEDATA expected;
        resetFileData(expected);
        if (c.result == FileDataReadResult::Read) expected = sampleRecord();
        EXPECT_EQ(fileDataBytes(record), fileDataBytes(expected));
    }
}

TEST_F(FileDataFileTest, OnlyARegularFileIsRead) {
    TempDir dir;
    const fs::path fifo = dir.path() / "fifo.bin";
    const test::HeldOpenFifo heldOpen(fifo);
    ASSERT_TRUE(heldOpen.ok());
    for (const fs::path& path : {dir.path() / "config.bin", fifo, dir.mkdir("folder.bin"), fs::path("/dev/zero")}) {
        SCOPED_TRACE(path.string());
        FILEDATA record;
        resetFileData(record);
        record.vid_hue = 77;
        EXPECT_EQ(readFileData(path.string(), record), FileDataReadResult::CannotOpen);
        EXPECT_EQ(record.vid_hue, 77u);
    }
}

TEST_F(FileDataFileTest, WriteReplacesTheFileWithTheRecordsBytes) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", std::string(600, 'x'));
    PosixAtomicFileWriter writer;
    EXPECT_EQ(writeFileData(sampleRecord(), file.string(), writer).errorKey, std::nullopt);
    EXPECT_EQ(test::fileText(file), bytesText(fileDataBytes(sampleRecord())));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"config.bin"}) << "no temporary file is left";
}

TEST_F(FileDataFileTest, WriteKeepsThePermissionsOfTheOldFile) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", "old");
    ::chmod(file.c_str(), 0640);
    PosixAtomicFileWriter writer;
    ASSERT_EQ(writeFileData(sampleRecord(), file.string(), writer).errorKey, std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(FileDataFileTest, WriteResetFileCreatesTheFactoryRecord) {
    TempDir dir;
    fs::path file = dir.path() / "config.bin";
    PosixAtomicFileWriter writer;
    EXPECT_EQ(writeResetFileData(file.string(), writer).errorKey, std::nullopt);
    FILEDATA reset;
    resetFileData(reset);
    const std::string text = test::fileText(file);
    EXPECT_EQ(text, bytesText(fileDataBytes(reset)));
    ASSERT_EQ(text.size(), 500u);
    EXPECT_EQ(text.substr(0, 4), std::string("\x26\x57\x00\x00", 4)) << "cfg_ver 22310, checksum 0";
}

TEST_F(FileDataFileTest, UnwritableFolderKeepsTheOldFileAndGivesTheKey) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    fs::path card = dir.mkdir("card");
    fs::path file = dir.touch("card/config.bin", "the old settings");
    ::chmod(file.c_str(), 0666);
    ::chmod(card.c_str(), 0555);
    std::string outcome = test::runAsUnprivilegedUser([&] {
        PosixAtomicFileWriter writer;
        std::optional<std::string> error = writeFileData(sampleRecord(), file.string(), writer).errorKey;
        return error.value_or("success") + "|" + (m_log.empty() ? "" : m_log.back());
    });
    EXPECT_EQ(outcome, "msg.file_open_fail|Permission denied");
    EXPECT_EQ(test::fileText(file), "the old settings");
    EXPECT_EQ(namesIn(card), std::vector<std::string>{"config.bin"});
}

TEST_F(FileDataFileTest, ReadOnlyFileIsNotReplaced) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    fs::path file = dir.touch("config.bin", "the old settings");
    ::chmod(file.c_str(), 0444);
    std::string outcome = test::runAsUnprivilegedUser([&] {
        PosixAtomicFileWriter writer;
        return writeFileData(sampleRecord(), file.string(), writer).errorKey.value_or("success");
    });
    EXPECT_EQ(outcome, "msg.file_open_fail");
    EXPECT_EQ(test::fileText(file), "the old settings");
}

// The write's result in a child whose files may not grow beyond limit bytes.
std::string writeWithFileSizeLimit(const std::string& path, rlim_t limit) {
    return test::runInChild(test::fileSizeLimit(limit), [&] {
        PosixAtomicFileWriter writer;
        const FileSaveResult result = writeFileData(sampleRecord(), path, writer);
        return result.saved() ? std::string("success") : *result.errorKey + "|" + result.reason;
    });
}

TEST_F(FileDataFileTest, WriteStoppedPartWayKeepsTheOldFile) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", "the old settings");
    EXPECT_EQ(writeWithFileSizeLimit(file.string(), 100), "msg.file_open_fail|File too large");
    EXPECT_EQ(test::fileText(file), "the old settings");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"config.bin"}) << "the partial file is removed";

    EXPECT_EQ(writeWithFileSizeLimit(file.string(), 500), "success") << "a write that fits replaces the file";
    EXPECT_EQ(test::fileText(file), bytesText(fileDataBytes(sampleRecord())));
}

TEST_F(FileDataFileTest, MissingFolderGivesTheKey) {
    TempDir dir;
    PosixAtomicFileWriter writer;
    EXPECT_EQ(writeResetFileData((dir.path() / "gone" / "config.bin").string(), writer).errorKey, "msg.file_open_fail");
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.back(), "No such file or directory");
}

}  // namespace
}  // namespace zentrova
