// The whole extraction over arbitrary file bytes: the box walk, the chunk
// table and every record's NMEA text and G-sensor block.
#include "ExtractionChecks.h"
#include "telemetry/MemoryByteSource.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zentrova::fuzz::silenceLog();
    zentrova::MemoryByteSource source(std::span(data, size));
    zentrova::ORVBlackBoxData telemetry;
    const bool ok = telemetry.ExtractStreamInformation(source);
    zentrova::fuzz::checkExtraction(ok, telemetry, size);
    return 0;
}
