// The whole extraction over arbitrary file bytes: the box walk, the chunk
// table and every record's NMEA text and G-sensor block.
#include "common/Log.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        zentrova::setLogSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;

    zentrova::MemoryByteSource source(std::span(data, size));
    zentrova::ORVBlackBoxData telemetry;
    const bool ok = telemetry.ExtractStreamInformation(source);

    const std::size_t records = telemetry.m_Times.size();
    const bool aligned = telemetry.m_vGSensorData.size() == records && telemetry.m_GSensors.size() == records &&
                         telemetry.m_vGpsData.size() == records;
    // Each record holds at most one sentence per two of its 128 text bytes.
    const bool bounded = telemetry.m_NMEAs.size() <= records * 64 && records * 4 <= size;
    if (!aligned || !bounded || (!ok && records != 0)) std::abort();
    return 0;
}
