// The extraction over a file far larger than any input: the input's bytes
// begin the file, and zeros (a hole) or the same bytes over and over fill it
// up to a size the input chooses, up to 16 GiB. This is where a count or a
// box size from the file could make the extraction take memory without end.
//   byte 0      bit 0: the rest repeats the bytes instead of zeros
//   bytes 1-4   the file's size in KiB, little-endian (at least the bytes)
//   bytes 5-    the file's first bytes
#include "ExtractionChecks.h"
#include "support/SparseByteSource.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kHeaderSize = 5;
constexpr std::uint64_t kLargestFile = std::uint64_t{16} << 30;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize) return 0;
    zentrova::fuzz::silenceLog();
    const auto rest = (data[0] & 1) != 0 ? zentrova::test::SparseByteSource::Rest::Repeated
                                         : zentrova::test::SparseByteSource::Rest::Zeros;
    const std::uint64_t kib = std::uint64_t{data[1]} | (std::uint64_t{data[2]} << 8) | (std::uint64_t{data[3]} << 16) |
                              (std::uint64_t{data[4]} << 24);
    const std::uint64_t fileSize = std::min(kib * 1024, kLargestFile);
    zentrova::test::SparseByteSource source(std::vector<std::uint8_t>(data + kHeaderSize, data + size), fileSize, rest);
    zentrova::ORVBlackBoxData telemetry;
    const bool ok = telemetry.ExtractStreamInformation(source);
    zentrova::fuzz::checkExtraction(ok, telemetry, source.size());
    return 0;
}
