#include "records/FlashDataFile.h"

#include "common/Log.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <new>

namespace zentrova {
namespace {

constexpr std::size_t kRecordsPerBlock = 1024;

std::uint32_t countOfHeader(const std::array<std::uint8_t, FlashDataFile::kHeaderSize>& header) {
    return static_cast<std::uint32_t>(header[0]) | (static_cast<std::uint32_t>(header[1]) << 8) |
           (static_cast<std::uint32_t>(header[2]) << 16) | (static_cast<std::uint32_t>(header[3]) << 24);
}

// Bytes left after the current position, or 0 when the stream cannot tell.
std::uint64_t bytesLeft(std::ifstream& in) {
    const auto here = in.tellg();
    if (here < 0 || !in.seekg(0, std::ios::end)) {
        in.clear();
        return 0;
    }
    const auto end = in.tellg();
    in.seekg(here);
    return end > here ? static_cast<std::uint64_t>(end - here) : 0;
}

// Reads up to count records, stopping at the first incomplete one. The
// count comes from the file and may be anything, so memory follows the bytes
// actually there: the reservation is bounded by the file's length and the
// reading goes block by block.
void readRecords(std::ifstream& in, std::uint32_t count, std::vector<FLASH_SAVE_VALUE_STRUCT>& records) {
    constexpr std::size_t kRecordSize = FLASH_SAVE_VALUE_STRUCT::kSize;
    records.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, bytesLeft(in) / kRecordSize)));
    std::vector<std::uint8_t> block(kRecordsPerBlock * kRecordSize);
    while (records.size() < count) {
        const std::size_t wanted = std::min<std::size_t>(kRecordsPerBlock, count - records.size());
        in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(wanted * kRecordSize));
        const std::size_t got = static_cast<std::size_t>(in.gcount()) / kRecordSize;
        const std::span<const std::uint8_t> bytes(block);
        for (std::size_t i = 0; i < got; ++i) {
            records.push_back(FLASH_SAVE_VALUE_STRUCT::fromBytes(bytes.subspan(i * kRecordSize, kRecordSize)));
        }
        if (got < wanted) break;
    }
}

void refuse(FlashDataContents& contents, FlashDataRefusal refusal) {
    std::vector<FLASH_SAVE_VALUE_STRUCT>().swap(contents.records);
    contents.refusal = refusal;
}

}  // namespace

std::optional<FlashDataContents> FlashDataFile::doReadFlashDataFile(const std::string& path) {
    std::error_code ec;
    // Only a regular file is opened: a FIFO would wait for a writer, and a
    // folder opens like a file on Linux but has no bytes to read.
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, ec)) in.open(path, std::ios::binary);
    if (!in.is_open()) {
        logLine("fopen fail:" + path);
        return std::nullopt;
    }
    FlashDataContents contents;
    std::array<std::uint8_t, kHeaderSize> header{};
    in.read(reinterpret_cast<char*>(header.data()), kHeaderSize);
    if (in.gcount() >= 4) contents.declaredCount = countOfHeader(header);
    // Records begin after the whole header; a shorter file holds none.
    if (static_cast<std::size_t>(in.gcount()) != kHeaderSize) return contents;
    // The file's size tells before any record is read. A file that cannot
    // tell it (as those of /proc) gives at most the most records.
    if (contents.declaredCount > kMostRecords && bytesLeft(in) / FLASH_SAVE_VALUE_STRUCT::kSize > kMostRecords) {
        contents.refusal = FlashDataRefusal::TooManyRecords;
        return contents;
    }
    try {
        readRecords(in, static_cast<std::uint32_t>(std::min<std::size_t>(contents.declaredCount, kMostRecords)),
                    contents.records);
    } catch (const std::bad_alloc&) {
        refuse(contents, FlashDataRefusal::OutOfMemory);
    }
    return contents;
}

}  // namespace zentrova
