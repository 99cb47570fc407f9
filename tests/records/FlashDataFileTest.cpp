#include "records/FlashDataFile.h"

#include "common/Log.h"
#include "DrvFileBuilder.h"
#include "support/HeldOpenFifo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrova {
namespace {
using test::TempDir;

class FlashDataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { m_log.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }

    std::optional<FlashDataContents> read(const std::string& bytes) {
        return FlashDataFile::doReadFlashDataFile(m_dir.touch("zentrova_000.drv", bytes).string());
    }

    TempDir m_dir;
    std::vector<std::string> m_log;
};

TEST_F(FlashDataFileTest, DecodesEveryFieldAtItsOffset) {
    auto contents = read(test::drvFileBytes(1, test::sampleDrvRecord(4660).bytes));
    ASSERT_TRUE(contents);
    ASSERT_EQ(contents->records.size(), 1u);
    const FLASH_SAVE_VALUE_STRUCT& r = contents->records[0];
    EXPECT_EQ(r.seq, 4660);
    EXPECT_EQ(r.yoil, 4);
    EXPECT_EQ(r.value, 1);
    EXPECT_EQ(r.year, 123);
    EXPECT_EQ(r.month, 7);
    EXPECT_EQ(r.day, 9);
    EXPECT_EQ(r.hour, 8);
    EXPECT_EQ(r.minute, 5);
    EXPECT_EQ(r.second, 3);
    EXPECT_EQ(r.lat_ddmm, 3731);
    EXPECT_EQ(r.lat_mmmm, 512);
    EXPECT_EQ(r.lon_dddmm, 12658);
    EXPECT_EQ(r.lon_mmmm, 7);
    EXPECT_EQ(r.cur_speed, 88);
    EXPECT_EQ(r.driving_distance, 123456u);
    EXPECT_EQ(r.reserved24, 0xDEADBEEFu);
    EXPECT_EQ(r.max_speed, 130);
    EXPECT_EQ(r.reserved30, -128);
    EXPECT_EQ(r.reserved31, 127);
    EXPECT_EQ(r.x, 256);
    EXPECT_EQ(r.y, -64);
    EXPECT_EQ(r.z, 0);
    EXPECT_EQ(r.battery, 126);
}

TEST_F(FlashDataFileTest, KeepsTheCompleteRecordsOfAnyFile) {
    const std::string three = test::sampleDrvRecord(1).bytes + test::sampleDrvRecord(2).bytes +
                              test::sampleDrvRecord(3).bytes;
    struct Case {
        const char* name;
        std::string bytes;
        std::uint32_t declared;
        std::size_t kept;
    } cases[] = {
        {"no records", test::drvFileBytes(0, ""), 0, 0},
        {"three records", test::drvFileBytes(3, three), 3, 3},
        {"bytes beyond the count are not records", test::drvFileBytes(2, three), 2, 2},
        {"the last record cut short", test::drvFileBytes(3, three.substr(0, 119)), 3, 2},
        {"a header only", test::drvFileBytes(5, ""), 5, 0},
        {"shorter than the header", test::drvFileBytes(5, "").substr(0, 7), 5, 0},
        {"shorter than the count field", std::string("\x01\x00", 2), 0, 0},
        {"empty", "", 0, 0},
        {"a count too large for memory", test::drvFileBytes(0xFFFFFFFFu, three), 0xFFFFFFFFu, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto contents = read(c.bytes);
        ASSERT_TRUE(contents);
        EXPECT_EQ(contents->declaredCount, c.declared);
        ASSERT_EQ(contents->records.size(), c.kept);
        EXPECT_EQ(contents->isComplete(), c.kept == c.declared);
        for (std::size_t i = 0; i < c.kept; ++i) EXPECT_EQ(contents->records[i].seq, i + 1);
    }
    EXPECT_TRUE(m_log.empty());
}

// A file of the given size, grown with a hole after its header and first
// record, so that gigabytes of records take no disk.
std::string sparseDrvFile(const TempDir& dir, std::uint32_t declared, std::uint64_t size) {
    const auto path = dir.touch("sparse.drv", test::drvFileBytes(declared, test::sampleDrvRecord(1).bytes));
    std::filesystem::resize_file(path, size);
    return path.string();
}

constexpr std::uint64_t kRecordSize = 40;
constexpr std::uint64_t kMost = FlashDataFile::kMostRecords;

TEST_F(FlashDataFileTest, HoldsAtMostTheMostRecordsOneReadingTakes) {
    struct Case {
        const char* name;
        std::uint32_t declared;
        std::uint64_t recordBytes;
        FlashDataRefusal refusal;
        std::size_t kept;
    } cases[] = {
        {"a count above the most, the most in the file", 0xFFFFFFFFu, kMost * kRecordSize, FlashDataRefusal::None,
         kMost},
        {"a count above the most, one more in the file", 0xFFFFFFFFu, (kMost + 1) * kRecordSize,
         FlashDataRefusal::TooManyRecords, 0},
        {"a count above the most, one more cut short", 0xFFFFFFFFu, (kMost + 1) * kRecordSize - 1,
         FlashDataRefusal::None, kMost},
        {"the most promised, more in the file", static_cast<std::uint32_t>(kMost), (kMost + 5) * kRecordSize,
         FlashDataRefusal::None, kMost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto contents = FlashDataFile::doReadFlashDataFile(
            sparseDrvFile(m_dir, c.declared, FlashDataFile::kHeaderSize + c.recordBytes));
        ASSERT_TRUE(contents);
        EXPECT_EQ(contents->refusal, c.refusal);
        EXPECT_EQ(contents->declaredCount, c.declared);
        ASSERT_EQ(contents->records.size(), c.kept);
        EXPECT_LE(contents->records.capacity(), kMost);
        if (c.kept > 0) {
            EXPECT_EQ(contents->records.front().seq, 1);
        }
    }
}

using ContentsCheck = bool (*)(const std::optional<FlashDataContents>&);

// The exit status of a child process that reads path with its address space
// capped at 1 GiB, far below what the header's count of 40-byte records
// would take: 0 when check accepts what it read, 1 when not. A reader that
// aborts shows as a signal.
int statusOfReadingInBoundedMemory(const std::string& path, ContentsCheck check) {
    pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        rlimit limit{1u << 30, 1u << 30};
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(check(FlashDataFile::doReadFlashDataFile(path)) ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child ? status : -1;
}

// The records held follow the file, never the header's count: a small file
// gives what it holds, a sparse one of 8 GiB is refused.
TEST_F(FlashDataFileTest, AHugeCountIsReadInBoundedMemory) {
    struct Case {
        const char* name;
        std::string path;
        ContentsCheck check;
    } cases[] = {
        {"a small file", m_dir.touch("huge.drv", test::drvFileBytes(0xFFFFFFFFu, test::sampleDrvRecord(9).bytes)).string(),
         +[](const std::optional<FlashDataContents>& c) { return c && c->records.size() == 1; }},
        {"a sparse 8 GiB file", sparseDrvFile(m_dir, 0xFFFFFFFFu, std::uint64_t{8} << 30),
         +[](const std::optional<FlashDataContents>& c) {
             return c && c->refusal == FlashDataRefusal::TooManyRecords && c->records.empty() &&
                    c->declaredCount == 0xFFFFFFFFu;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int status = statusOfReadingInBoundedMemory(c.path, c.check);
        ASSERT_TRUE(WIFEXITED(status)) << "the reader was killed";
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

TEST_F(FlashDataFileTest, AFileThatCannotBeOpenedIsLogged) {
    const std::string fifo = (m_dir.path() / "fifo.drv").string();
    const test::HeldOpenFifo heldOpen(fifo);
    ASSERT_TRUE(heldOpen.ok());
    for (std::string path : {(m_dir.path() / "missing.drv").string(), m_dir.mkdir("folder.drv").string(), fifo,
                             std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        m_log.clear();
        EXPECT_FALSE(FlashDataFile::doReadFlashDataFile(path));
        EXPECT_EQ(m_log, std::vector<std::string>{"fopen fail:" + path});
    }
}

}  // namespace
}  // namespace zentrova
