#include "telemetry/ORVAviGSensorData.h"

#include "telemetry/RecordCopy.h"

#include "telemetry/ByteOrder.h"

#include <cstring>

namespace zentrova {

ORVAviGSensorData::ORVAviGSensorData(const std::uint8_t* block) : m_data(recordCopiedFrom<kSize>(block)) {}

std::int32_t ORVAviGSensorData::X() const {
    return readLittleEndianSigned32(m_data.data());
}

std::int32_t ORVAviGSensorData::Y() const {
    return readLittleEndianSigned32(m_data.data() + 4);
}

std::int32_t ORVAviGSensorData::Z() const {
    return readLittleEndianSigned32(m_data.data() + 8);
}

std::int32_t ORVAviGSensorData::T() const {
    return readLittleEndianSigned32(m_data.data() + 12);
}

}  // namespace zentrova
