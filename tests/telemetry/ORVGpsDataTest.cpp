#include "telemetry/ORVGpsData.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(ORVGpsDataTest, ChannelsPairTheirTwoHalvesAndIndexesOutsideTheTablesGiveNothing) {
    ORVGpsData fix;
    fix.setSVonChannelWithFirst(3, 40, 11);
    fix.setSVonChannelWithSecond(41, 11);
    fix.setSatelliteUsed(70, 0);
    fix.setSatelliteUsed(71, 12);
    fix.setSVonChannel(PAIR{1, 1}, -1);
    EXPECT_EQ(fix.SVonChannelAtIndex(11), (PAIR{3, 41}));
    EXPECT_EQ(fix.SVonChannelAtIndex(12), PAIR{});
    EXPECT_EQ(fix.SatelliteUsedAtIndex(0), 70);
    EXPECT_EQ(fix.SatelliteUsedAtIndex(-5), 0);
}

}  // namespace
}  // namespace zentrova
