#include "telemetry/ORVGSensor.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(ORVGSensorTest, RawBlockScalesAxesInOrderWithTheirSigns) {
    EXPECT_EQ(ORVGSensor::fromRaw(256, -128, 1), ORVGSensor(1.0f, -0.5f, 0.00390625f));
    EXPECT_EQ(ORVGSensor::fromRaw(2147483647, 0, 0).x(), 8388608.0f);
}

}  // namespace
}  // namespace zentrova
