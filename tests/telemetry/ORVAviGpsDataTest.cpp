#include "telemetry/ORVAviGpsData.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(ORVAviGpsDataTest, UnitByteThenTextBytes) {
    std::uint8_t block[129] = {'9', '$', 'G'};
    const ORVAviGpsData data = ORVAviGpsData::aviGpsDataWithData(block);
    EXPECT_EQ(data.unit(), '9');
    EXPECT_EQ(data.gpsString().size(), 128u);
    EXPECT_EQ(data.gpsString().substr(0, 2), "$G");
}

}  // namespace
}  // namespace zentrova
