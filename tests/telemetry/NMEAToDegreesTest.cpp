#include "telemetry/NMEAToDegrees.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zentrova {
namespace {

TEST(NMEAToDegreesTest, ConvertsDegreesAndMinutesKeepingTheSign) {
    double latitude = 0.0;
    double longitude = 0.0;
    NMEAToDegrees(4807.0380859375, -1131.0, &latitude, &longitude);
    EXPECT_EQ(latitude, 48.11730143229167);
    EXPECT_DOUBLE_EQ(longitude, -11.516666666666667);
    EXPECT_NEAR(nmeaToDegrees(4807.038), 48.1173, 0.00005);
    EXPECT_NEAR(nmeaToDegrees(-4807.038), -48.1173, 0.00005);
    EXPECT_EQ(nmeaToDegrees(-4807.038), -nmeaToDegrees(4807.038));
    EXPECT_EQ(nmeaToDegrees(0.0), 0.0);
}

TEST(NMEAToDegreesTest, FillsOnlyTheGivenPlacesAndSurvivesValuesBeyondTheIntegerRange) {
    double second = 7.0;
    NMEAToDegrees(4807.038, 1131.0, nullptr, &second);
    EXPECT_DOUBLE_EQ(second, 11.516666666666667);
    NMEAToDegrees(1.0, 2.0, nullptr, nullptr);
    EXPECT_TRUE(std::isfinite(nmeaToDegrees(3.4e38)));
    EXPECT_FALSE(std::isfinite(nmeaToDegrees(std::nan(""))));
}

}  // namespace
}  // namespace zentrova
