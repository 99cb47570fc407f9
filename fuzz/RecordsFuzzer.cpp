// The block parsers for callers that hold time records, frame data and
// G-sensor blocks, each given the input with its true size.
#include "telemetry/ORVBlackBoxData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> copy(data, data + size);
    const std::uint8_t* bytes = copy.empty() ? nullptr : copy.data();
    const auto length = static_cast<std::uint32_t>(copy.size());

    zentrova::ORVBlackBoxData telemetry;
    telemetry.ParseTime(bytes, length);
    telemetry.ParseFrameData(bytes, length);
    telemetry.ParseGSensor(bytes, length);
    telemetry.ParseTimeEvent(bytes, length);

    // A run of time records, as a caller would feed them one by one.
    for (std::size_t at = 0; at + 16 <= copy.size(); at += 16) telemetry.ParseTime(copy.data() + at, 16);
    if (telemetry.m_TimeEvents.size() > telemetry.m_Times.size()) std::abort();
    for (const zentrova::ORVTimeEvent& event : telemetry.m_TimeEvents) {
        if (event.f() >= telemetry.m_Times.size() || event.e() > 1) std::abort();
    }
    return 0;
}
