#include "telemetry/ORVAviGpsData.h"

#include "telemetry/RecordCopy.h"

#include <cstring>

namespace zentrova {

ORVAviGpsData::ORVAviGpsData(const std::uint8_t* block) : m_data(recordCopiedFrom<kSize>(block)) {}

std::string_view ORVAviGpsData::gpsString() const {
    return std::string_view(reinterpret_cast<const char*>(m_data.data() + 1), kTextSize);
}

}  // namespace zentrova
