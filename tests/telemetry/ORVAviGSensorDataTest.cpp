#include "telemetry/ORVAviGSensorData.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(ORVAviGSensorDataTest, KeepsTheBlockAsStoredAndDecodesLittleEndian) {
    const std::uint8_t block[16] = {0x00, 0x01, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    const ORVAviGSensorData data = ORVAviGSensorData::aviGSensorDataWithData(block);
    EXPECT_EQ(data.X(), 256);
    EXPECT_EQ(data.Y(), -128);
    EXPECT_EQ(data.Z(), 1);
    EXPECT_EQ(data.T(), 2147483647);
}

}  // namespace
}  // namespace zentrova
