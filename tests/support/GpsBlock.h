#pragma once

#include "telemetry/ORVAviGpsData.h"

#include <cstdint>

namespace zentrova::test {

// A raw GPS block whose unit byte says how speeds are shown ('9' km/h).
inline ORVAviGpsData gpsBlock(std::uint8_t unit) {
    ORVAviGpsData::Record record{};
    record[0] = unit;
    ORVAviGpsData block;
    block.setData(record);
    return block;
}

}  // namespace zentrova::test
