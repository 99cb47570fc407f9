#include "telemetry/ORVAviGpsData.h"

#include <cstring>

namespace zentrova {

ORVAviGpsData::ORVAviGpsData(const std::uint8_t* block) {
    if (block) std::memcpy(m_data.data(), block, kSize);
}

std::string_view ORVAviGpsData::gpsString() const {
    return std::string_view(reinterpret_cast<const char*>(m_data.data() + 1), kTextSize);
}

}  // namespace zentrova
