// The settings record: config.bin read from a real file of any content, the
// preparation a save makes, the write and the read back; and the checks the
// settings pages run on typed text, fed the same bytes.
#include "QuietLog.h"
#include "ScratchFile.h"
#include "common/AtomicFileWriter.h"
#include "settings/CarNumberFilter.h"
#include "settings/FILEDATA.h"
#include "settings/FileDataField.h"
#include "settings/FileDataFile.h"
#include "settings/NumberScanner.h"
#include "settings/ORVValidator.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>


namespace {
using namespace zentrova;

// Keeps what was written, as the card's file would.
class MemoryWriter : public AtomicFileWriter {
public:
    std::optional<std::string> replaceFile(const std::string&, std::span<const std::uint8_t> bytes) override {
        written.assign(bytes.begin(), bytes.end());
        return std::nullopt;
    }
    std::vector<std::uint8_t> written;
};

void require(bool condition) {
    if (!condition) std::abort();
}

const std::string& scratchFile() {
    return fuzz::scratchFile("zentrova-fuzz-config");
}

void writeScratch(const std::uint8_t* data, std::size_t size) {
    std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    require(static_cast<bool>(out));
}

std::uint32_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 | std::uint32_t{bytes[at + 2]} << 16 |
           std::uint32_t{bytes[at + 3]} << 24;
}

// The number an element's bytes hold, read from the file layout alone.
std::int64_t elementOfBytes(std::span<const std::uint8_t> bytes, const FileDataField& field, std::size_t index) {
    const std::size_t at = field.offset + index * field.elementSize;
    std::uint64_t value = 0;
    for (std::size_t b = 0; b < field.elementSize; ++b) value |= std::uint64_t{bytes[at + b]} << (8 * b);
    if (field.kind == FieldKind::Signed && field.elementSize == 4) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::int64_t>(value);
}

// A save changes the checksum and the plate flag, and nothing else.
void checkPrepared(std::span<const std::uint8_t> input, const FileDataBytes& prepared) {
    std::uint32_t sum = 0;
    for (std::size_t at = 4; at < kFileDataSize; at += 4) sum ^= wordAt(prepared, at);
    require((prepared[2] | prepared[3] << 8) == static_cast<int>(sum & 0xFFFF));
    const FileDataField* plate = findFileDataField("szPlateNumber");
    const FileDataField* flag = findFileDataField("osd_plate_flag");
    const FileDataField* checksum = findFileDataField("checksum");
    require(plate && flag && checksum);
    require(wordAt(prepared, flag->offset) == (input[plate->offset] != 0 ? 1u : 0u));
    for (std::size_t at = 0; at < kFileDataSize; ++at) {
        const bool changed = (at >= checksum->offset && at < checksum->offset + checksum->size()) ||
                             (at >= flag->offset && at < flag->offset + flag->size());
        if (!changed) require(prepared[at] == input[at]);
    }
}

void checkSettingsFile(const std::uint8_t* data, std::size_t size) {
    writeScratch(data, size);
    FILEDATA record;
    resetFileData(record);
    const FileDataBytes reset = fileDataBytes(record);
    const FileDataReadResult result = readFileData(scratchFile(), record);
    if (size != kFileDataSize) {
        require(result == FileDataReadResult::NotASettingsFile);
        require(fileDataBytes(record) == reset);
        return;
    }
    require(result == FileDataReadResult::Read);
    const std::span<const std::uint8_t> input(data, size);
    // Every byte of the file belongs to a field and comes back as it was.
    const FileDataBytes read = fileDataBytes(record);
    require(std::memcmp(read.data(), data, size) == 0);
    for (const FileDataField& field : fileDataFields()) {
        for (std::size_t i = 0; i < field.elementCount; ++i) {
            require(fieldElement(record, field, i) == elementOfBytes(input, field, i));
        }
    }

    prepareFileDataForWriting(record);
    const FileDataBytes prepared = fileDataBytes(record);
    checkPrepared(input, prepared);
    FILEDATA again = record;
    prepareFileDataForWriting(again);
    require(fileDataBytes(again) == prepared);

    MemoryWriter writer;
    require(writeFileData(record, "config.bin", writer).saved());
    require(writer.written.size() == kFileDataSize && std::memcmp(writer.written.data(), prepared.data(), kFileDataSize) == 0);
    writeScratch(writer.written.data(), writer.written.size());
    FILEDATA reread;
    resetFileData(reread);
    require(readFileData(scratchFile(), reread) == FileDataReadResult::Read);
    require(fileDataBytes(reread) == prepared);
}

bool isAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

void checkPlateFilter(std::string_view text) {
    const std::string plate = filteredCarNumber(text);
    require(plate.size() <= kCarNumberMaximumLength);
    std::size_t from = 0;
    for (char c : plate) {
        require(isAsciiLetterOrDigit(c));
        from = text.find(c, from);
        require(from != std::string_view::npos);
        ++from;
    }
}

bool strtodReadsOtherwise(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::string_view rest = text.substr(i, 3);
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    std::string head;
    for (char c : rest) head.push_back(lower(c));
    return head.starts_with("0x") || head.starts_with("inf") || head.starts_with("nan");
}

// The typed number agrees with the C library's reading of the same text.
void checkNumberScan(std::string_view text) {
    const std::string terminated(text.substr(0, text.find('\0')));
    const std::optional<double> number = scanLeadingNumber(terminated);
    const std::optional<std::string> message = ORVValidator::validateGsensorThreshold(terminated);
    if (!terminated.empty() && !message) {
        require(number && *number >= ORVValidator::kGsensorThresholdMinimum &&
                *number <= ORVValidator::kGsensorThresholdMaximum);
    }
    if (strtodReadsOtherwise(terminated)) return;
    char* end = nullptr;
    const double expected = std::strtod(terminated.c_str(), &end);
    require(number.has_value() == (end != terminated.c_str()));
    if (!number) return;
    require(std::isinf(*number) == std::isinf(expected));
    // Below the normal range the two may round a subnormal differently.
    if (std::fabs(expected) >= DBL_MIN && !std::isinf(expected)) require(*number == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::silenceLog();
    checkSettingsFile(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkPlateFilter(text);
    checkNumberScan(text);
    return 0;
}
