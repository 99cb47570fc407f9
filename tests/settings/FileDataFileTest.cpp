#include "settings/FileDataFile.h"
#include "support/FileText.h"

#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

TEST_F(FileDataFileTest, MissingFileLeavesTheRecord) {
    TempDir dir;
    FILEDATA record;
    resetFileData(record);
    record.vid_hue = 77;
    EXPECT_EQ(readFileData((dir.path() / "config.bin").string(), record), FileDataReadResult::CannotOpen);
    EXPECT_EQ(record.vid_hue, 77u);
}

TEST_F(FileDataFileTest, WriteReplacesTheFileWithTheRecordsBytes) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", std::string(600, 'x'));
    PosixAtomicFileWriter writer;
    EXPECT_EQ(writeFileData(sampleRecord(), file.string(), writer), std::nullopt);
    EXPECT_EQ(test::fileText(file), bytesText(fileDataBytes(sampleRecord())));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"config.bin"}) << "no temporary file is left";
}

TEST_F(FileDataFileTest, WriteKeepsThePermissionsOfTheOldFile) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", "old");
    ::chmod(file.c_str(), 0640);
    PosixAtomicFileWriter writer;
    ASSERT_EQ(writeFileData(sampleRecord(), file.string(), writer), std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(FileDataFileTest, WriteResetFileCreatesTheFactoryRecord) {
    TempDir dir;
    fs::path file = dir.path() / "config.bin";
    PosixAtomicFileWriter writer;
    EXPECT_EQ(writeResetFileData(file.string(), writer), std::nullopt);
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
        std::optional<std::string> error = writeFileData(sampleRecord(), file.string(), writer);
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
        return writeFileData(sampleRecord(), file.string(), writer).value_or("success");
    });
    EXPECT_EQ(outcome, "msg.file_open_fail");
    EXPECT_EQ(test::fileText(file), "the old settings");
}

// Runs the write in a child whose files may not grow beyond limit bytes, the
// way a full card stops a write part-way; gives the write's result.
std::string writeWithFileSizeLimit(const std::string& path, rlim_t limit) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl {limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &rl) != 0) ::_exit(3);
        PosixAtomicFileWriter writer;
        std::string result = writeFileData(sampleRecord(), path, writer).value_or("success");
        ssize_t written = ::write(fds[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 4);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "child failed";
}

TEST_F(FileDataFileTest, WriteStoppedPartWayKeepsTheOldFile) {
    TempDir dir;
    fs::path file = dir.touch("config.bin", "the old settings");
    EXPECT_EQ(writeWithFileSizeLimit(file.string(), 100), "msg.file_open_fail");
    EXPECT_EQ(test::fileText(file), "the old settings");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"config.bin"}) << "the partial file is removed";

    EXPECT_EQ(writeWithFileSizeLimit(file.string(), 500), "success") << "a write that fits replaces the file";
    EXPECT_EQ(test::fileText(file), bytesText(fileDataBytes(sampleRecord())));
}

TEST_F(FileDataFileTest, MissingFolderGivesTheKey) {
    TempDir dir;
    PosixAtomicFileWriter writer;
    EXPECT_EQ(writeResetFileData((dir.path() / "gone" / "config.bin").string(), writer), "msg.file_open_fail");
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.back(), "No such file or directory");
}

}  // namespace
}  // namespace zentrova
