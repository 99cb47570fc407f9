// The drive-log reader on a real file of any content, also one grown with a
// hole to gigabytes, then the table's cells, map positions and CSV text of
// what it read.
//   byte 0   0xF0 to 0xFF: the file goes on with a hole of 2^(20 + byte & 15)
//            bytes (1 MiB to 8 GiB) after the rest of the input; any other
//            value: no hole
//   bytes 1- the file's first bytes
#include "QuietLog.h"
#include "ScratchFile.h"
#include "common/AtomicFileWriter.h"
#include "records/FlashDataCsv.h"
#include "records/FlashDataFile.h"
#include "records/FlashDataTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {
using namespace zentrova;

constexpr std::uint64_t kRecordSize = FLASH_SAVE_VALUE_STRUCT::kSize;
constexpr std::uint64_t kLargestHole = std::uint64_t{8} << 30;
// Rows whose every cell is checked: all of a small table, the ends of a large one.
constexpr std::size_t kRowsCheckedAtEachEnd = 512;
constexpr std::size_t kLargestCsvChecked = 2048;

void require(bool condition) {
    if (!condition) std::abort();
}

class MemoryWriter : public AtomicFileWriter {
public:
    std::optional<std::string> replaceFile(const std::string&, std::span<const std::uint8_t> bytes) override {
        written.assign(bytes.begin(), bytes.end());
        return std::nullopt;
    }
    std::string written;
};

const std::string& scratchFile() {
    return fuzz::scratchFile("zentrova-fuzz-drv");
}

std::uint64_t writeScratch(const std::uint8_t* bytes, std::size_t size, std::uint64_t hole) {
    const int fd = ::open(scratchFile().c_str(), O_WRONLY | O_TRUNC);
    require(fd >= 0);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        require(n > 0);
        done += static_cast<std::size_t>(n);
    }
    require(::ftruncate(fd, static_cast<off_t>(size + hole)) == 0);
    ::close(fd);
    return size + hole;
}

std::string formatted(const char* format, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

// The cell texts by the C library's printf, from the record's file bytes.
std::string expectedCell(int column, std::size_t row, const FLASH_SAVE_VALUE_STRUCT& r) {
    static const char* const kWeekdays[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    switch (column) {
    case 0: return formatted("%ld", static_cast<long>(row + 1));
    case 1: return formatted("%d", r.seq);
    case 2: return formatted("%4d/%02d/%02d", r.year + 1900, r.month, r.day);
    case 3: return formatted("%02d:%02d:%02d", r.hour, r.minute, r.second);
    case 4: return r.yoil < 7 ? kWeekdays[r.yoil] : "-";
    case 5: return formatted("%04d.%04d", r.lat_ddmm, r.lat_mmmm);
    case 6: return formatted("%05d.%04d", r.lon_dddmm, r.lon_mmmm);
    case 7: return formatted("%.1f", r.driving_distance / 10.0);
    case 8: return formatted("%d", r.cur_speed);
    case 9: return formatted("%d", r.max_speed);
    case 10: return r.value == 1 ? "A" : r.value == 2 ? "F" : "V";
    case 11: return formatted("%+.2f", r.x / 256.0);
    case 12: return formatted("%+.2f", r.y / 256.0);
    case 13: return formatted("%+.2f", r.z / 256.0);
    default: return formatted("%2d.%1d", r.battery / 10, r.battery - 10 * (r.battery / 10));
    }
}

double degreesOf(const std::string& text) {
    const double v = std::strtod(text.c_str(), nullptr);
    const double d = std::trunc(v / 100);
    return d + (v / 100 - d) * 100 / 60;
}

void checkRow(const FlashDataTable& table, std::size_t row) {
    const FLASH_SAVE_VALUE_STRUCT& r = table.records()[row];
    for (int column = 0; column < FlashDataTable::kColumnCount; ++column) {
        require(table.stringForColumnIndex(column, static_cast<std::int64_t>(row)) == expectedCell(column, row, r));
    }
    const auto position = table.positionForRow(static_cast<std::int64_t>(row));
    require(position.has_value());
    require(std::fabs(position->latitude - degreesOf(expectedCell(5, row, r))) < 1e-9);
    require(std::fabs(position->longitude - degreesOf(expectedCell(6, row, r))) < 1e-9);
}

// A record that lies in the input, against its bytes at the file's offsets
// (a record in the hole has only zeros).
void checkDecoded(const std::uint8_t* file, std::size_t length, std::size_t row, const FLASH_SAVE_VALUE_STRUCT& r) {
    const std::size_t at = FlashDataFile::kHeaderSize + row * kRecordSize;
    auto byte = [&](std::size_t offset) -> std::uint32_t { return at + offset < length ? file[at + offset] : 0; };
    auto u16 = [&](std::size_t offset) { return byte(offset) | byte(offset + 1) << 8; };
    require(r.seq == u16(0) && r.yoil == byte(2) && r.value == byte(3) && r.year == byte(4));
    require(r.lat_ddmm == u16(10) && r.lon_mmmm == u16(16) && r.max_speed == u16(28));
    require(r.driving_distance == (u16(20) | u16(22) << 16));
    require(r.x == static_cast<std::int16_t>(u16(32)) && r.battery == static_cast<std::int16_t>(u16(38)));
}

// Fields of one CSV line, quotes taken into account; -1 when a quote is left open.
int csvFieldCount(const std::string& line) {
    int fields = 1;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) ++fields;
    }
    return quoted ? -1 : fields;
}

void checkCsv(const FlashDataTable& table) {
    MemoryWriter writer;
    require(FlashDataCsv::doWriteCSVFile(table, "log.csv", writer).saved());
    require(writer.written == FlashDataCsv::csvText(table));
    std::size_t lines = 0;
    std::size_t start = 0;
    for (std::size_t end = writer.written.find('\n'); end != std::string::npos;
         start = end + 1, end = writer.written.find('\n', start)) {
        require(csvFieldCount(writer.written.substr(start, end - start)) == FlashDataTable::kColumnCount);
        ++lines;
    }
    require(start == writer.written.size() && lines == table.records().size() + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::silenceLog();
    if (size == 0) return 0;
    const std::uint64_t hole = data[0] >= 0xF0 ? std::min(std::uint64_t{1} << (20 + (data[0] & 15)), kLargestHole) : 0;
    const std::uint8_t* bytes = data + 1;
    const std::size_t length = size - 1;
    const std::uint64_t fileSize = writeScratch(bytes, length, hole);

    auto contents = FlashDataFile::doReadFlashDataFile(scratchFile());
    require(contents.has_value());
    // The hole's zeros count as the file's bytes.
    auto fileByte = [&](std::size_t at) -> std::uint32_t { return at < length ? bytes[at] : 0; };
    const std::uint32_t declared =
        fileSize >= 4 ? fileByte(0) | fileByte(1) << 8 | fileByte(2) << 16 | fileByte(3) << 24 : 0;
    const std::uint64_t inFile = fileSize >= FlashDataFile::kHeaderSize
                                     ? (fileSize - FlashDataFile::kHeaderSize) / kRecordSize
                                     : 0;
    const std::uint64_t promised = std::min<std::uint64_t>(declared, inFile);
    require(contents->declaredCount == declared);
    if (promised > FlashDataFile::kMostRecords) {
        require(contents->refusal == FlashDataRefusal::TooManyRecords && contents->records.empty());
        return 0;
    }
    require(contents->refusal == FlashDataRefusal::None && contents->records.size() == promised);
    require(contents->records.capacity() <= FlashDataFile::kMostRecords);

    FlashDataTable table;
    table.setRecords(std::move(contents->records));
    const std::size_t rows = table.records().size();
    for (std::size_t row = 0; row < rows; ++row) {
        if (row == kRowsCheckedAtEachEnd && rows > 2 * kRowsCheckedAtEachEnd) row = rows - kRowsCheckedAtEachEnd;
        checkRow(table, row);
        checkDecoded(bytes, length, row, table.records()[row]);
    }
    require(table.stringForColumnIndex(0, static_cast<std::int64_t>(rows)).empty());
    require(!table.positionForRow(-1) && !table.positionForRow(static_cast<std::int64_t>(rows)));
    if (rows <= kLargestCsvChecked) checkCsv(table);
    return 0;
}
