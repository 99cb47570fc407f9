#include "telemetry/ORVAviGpsData.h"

#include <cstring>

namespace zentrova {

ORVAviGpsData::ORVAviGpsData(const std::uint8_t* block) : m_data(copyOf(block)) {}

ORVAviGpsData::Record ORVAviGpsData::copyOf(const std::uint8_t* block) {
    // Filled either way, so not zeroed first.
    Record data;
    if (block) {
        std::memcpy(data.data(), block, kSize);
    } else {
        data.fill(0);
    }
    return data;
}

std::string_view ORVAviGpsData::gpsString() const {
    return std::string_view(reinterpret_cast<const char*>(m_data.data() + 1), kTextSize);
}

}  // namespace zentrova
