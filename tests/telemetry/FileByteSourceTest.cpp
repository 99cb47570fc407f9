#include "telemetry/FileByteSource.h"
#include "telemetry/MemoryByteSource.h"

#include "support/HeldOpenFifo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace zentrova {
namespace {

constexpr std::size_t kFileSize = 100000;
constexpr std::size_t kWindow = FileByteSource::kWindowSize;

// No period, so a read from the wrong place cannot give the right bytes.
std::vector<std::uint8_t> fileBytes(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + i / 251);
    return bytes;
}

struct Read {
    std::uint64_t offset;
    std::size_t length;
};

// Every read gives exactly the count and bytes that the same read of the
// bytes in memory gives.
void expectSameReads(FileByteSource& file, const std::vector<std::uint8_t>& bytes, const std::vector<Read>& reads) {
    MemoryByteSource memory(bytes);
    for (std::size_t k = 0; k < reads.size(); ++k) {
        const Read& read = reads[k];
        SCOPED_TRACE("read " + std::to_string(k) + " at " + std::to_string(read.offset) + ", " +
                     std::to_string(read.length) + " bytes");
        std::vector<std::uint8_t> fromFile(read.length, 0xEE);
        std::vector<std::uint8_t> fromMemory(read.length, 0xEE);
        ASSERT_EQ(file.readAt(read.offset, fromFile), memory.readAt(read.offset, fromMemory));
        ASSERT_EQ(fromFile, fromMemory);
    }
}

std::vector<Read> steps(std::uint64_t from, std::size_t length, std::uint64_t stride, int count) {
    std::vector<Read> reads;
    for (int i = 0; i < count; ++i) reads.push_back({from + stride * static_cast<std::uint64_t>(i), length});
    return reads;
}

std::vector<Read> joined(std::vector<std::vector<Read>> parts) {
    std::vector<Read> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct ReadPattern {
    const char* name;
    std::vector<Read> reads;
};

void PrintTo(const ReadPattern& pattern, std::ostream* out) {
    *out << pattern.name;
}

class FileByteSourceTest : public ::testing::TestWithParam<ReadPattern> {};

void openWritten(const test::TempDir& dir, const std::vector<std::uint8_t>& bytes, FileByteSource& file) {
    const std::string path = (dir.path() / "file.bin").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.open(path));
}

TEST_P(FileByteSourceTest, GivesWhatTheBytesInMemoryGive) {
    test::TempDir dir;
    const std::vector<std::uint8_t> bytes = fileBytes(kFileSize);
    FileByteSource file;
    openWritten(dir, bytes, file);
    ASSERT_EQ(file.size(), kFileSize);
    expectSameReads(file, bytes, GetParam().reads);
}

const ReadPattern kPatterns[] = {
    {"chunks_back_to_back_through_several_windows", steps(1000, 155, 155, 600)},
    {"chunks_with_small_gaps", steps(7, 155, 155 + 300, 200)},
    {"chunks_with_gaps_too_large_to_read_ahead", steps(3, 155, kWindow / 2, 6)},
    {"to_the_end_and_beyond",
     joined({steps(kFileSize - 155 * 10, 155, 155, 12),
             {{kFileSize, 1}, {kFileSize + 9, 4}, {std::uint64_t{1} << 40, 4}, {kFileSize - 1, 8}}})},
    {"across_the_end_of_the_window",
     joined({steps(0, 8, 8, 2), {{kWindow - 8, 20}, {kWindow + 16, 4}, {kWindow + 4, kWindow / 2}}})},
    {"back_inside_the_window_then_behind_it", joined({steps(500, 100, 100, 3), {{520, 50}, {400, 100}, {0, 12}}})},
    {"reads_larger_than_a_window", joined({steps(0, 4, 4, 2), {{8, kWindow * 2}, {8 + kWindow * 2, kWindow / 2 + 1}}})},
    {"box_headers_then_table_then_chunks",
     joined({{{0, 12}, {0, 4}, {32, 8}, {40, 8}, {48, 8}, {156, 8}}, steps(60000, 4096, 4096, 2), steps(5000, 155, 155, 300)})},
};

INSTANTIATE_TEST_SUITE_P(Patterns, FileByteSourceTest, ::testing::ValuesIn(kPatterns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileByteSourceRandomTest, MixedForwardStepsAndJumpsGiveWhatTheBytesInMemoryGive) {
    test::TempDir dir;
    const std::vector<std::uint8_t> bytes = fileBytes(kFileSize);
    FileByteSource file;
    openWritten(dir, bytes, file);

    std::mt19937 random(155);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::uint64_t> anywhere(0, kFileSize + 100);
    std::uniform_int_distribution<std::uint64_t> gap(0, kWindow / 2);
    std::uniform_int_distribution<std::size_t> length(1, 400);
    std::vector<Read> reads;
    std::uint64_t next = 0;
    for (int i = 0; i < 5000; ++i) {
        const std::uint64_t offset = kind(random) == 0 ? anywhere(random) : next + gap(random) % 200;
        const std::size_t count = kind(random) == 0 ? length(random) * 50 : length(random);
        reads.push_back({offset, count});
        next = offset + count;
    }
    expectSameReads(file, bytes, reads);
}

TEST(FileByteSourceShrunkTest, AFileCutShorterAfterOpeningGivesOnlyWhatIsLeft) {
    test::TempDir dir;
    const std::vector<std::uint8_t> bytes = fileBytes(kFileSize);
    const std::filesystem::path path = dir.path() / "file.bin";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    FileByteSource file;
    ASSERT_TRUE(file.open(path.string()));
    std::filesystem::resize_file(path, 1000);

    const std::vector<std::uint8_t> left(bytes.begin(), bytes.begin() + 1000);
    MemoryByteSource memory(left);
    for (const Read& read : joined({steps(700, 155, 155, 4), {{2000, 8}, {999, 8}}})) {
        SCOPED_TRACE(read.offset);
        std::vector<std::uint8_t> fromFile(read.length);
        std::vector<std::uint8_t> fromMemory(read.length);
        const std::size_t got = file.readAt(read.offset, fromFile);
        ASSERT_EQ(got, memory.readAt(read.offset, fromMemory));
        EXPECT_TRUE(std::equal(fromFile.begin(), fromFile.begin() + got, fromMemory.begin()));
    }
}

TEST(FileByteSourceShrunkTest, ClosedOrMissingFilesGiveNothing) {
    FileByteSource file;
    std::uint8_t byte = 0;
    EXPECT_EQ(file.readAt(0, std::span(&byte, 1)), 0u);
    EXPECT_FALSE(file.open("/nonexistent/zentrova/file.bin"));
    EXPECT_EQ(file.readAt(0, std::span(&byte, 1)), 0u);
    EXPECT_EQ(file.size(), 0u);
}

// A FIFO would give a stream of whatever its writer sends (and without a
// writer, block the open for ever); a device is no recording either.
TEST(FileByteSourceOpenTest, OnlyRegularFilesAreOpened) {
    test::TempDir dir;
    const std::filesystem::path file = dir.path() / "alwa_20190312_081500_F.MP4";
    std::ofstream(file, std::ios::binary) << "bytes";
    const std::filesystem::path fifo = dir.path() / "alwa_20190312_081600_F.MP4";
    const test::HeldOpenFifo heldOpen(fifo);
    ASSERT_TRUE(heldOpen.ok());
    std::filesystem::create_symlink(file, dir.path() / "link.MP4");
    struct Case {
        const char* name;
        std::filesystem::path path;
        bool opens;
    } cases[] = {
        {"regular file", file, true},
        {"link to a regular file", dir.path() / "link.MP4", true},
        {"FIFO", fifo, false},
        {"character device", "/dev/zero", false},
        {"folder", dir.path(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileByteSource source;
        EXPECT_EQ(source.open(c.path.string()), c.opens);
        EXPECT_EQ(source.isOpen(), c.opens);
    }
}

}  // namespace
}  // namespace zentrova
