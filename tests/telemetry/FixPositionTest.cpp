#include "telemetry/FixPosition.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(FixPositionTest, EachFixCarriesItsOwnHemisphereWhateverTheNumbersSign) {
    struct Case {
        const char* name;
        double latitude;
        char ns;
        double longitude;
        char ew;
        GeoPosition expected;
    } cases[] = {
        {"south and east", 3745.0, 'S', 12230.0, 'E', {-37.75, 122.5}},
        {"north and east", 3745.0, 'N', 12230.0, 'E', {37.75, 122.5}},
        {"north and west", 3745.0, 'N', 12230.0, 'W', {37.75, -122.5}},
        {"south and west", 3745.0, 'S', 12230.0, 'W', {-37.75, -122.5}},
        {"negative numbers in the north east", -3745.0, 'N', -12230.0, 'E', {37.75, 122.5}},
        {"no letters count as south and west", 3745.0, '\0', 12230.0, '\0', {-37.75, -122.5}},
        {"lower-case letters are not N or E", 3745.0, 'n', 12230.0, 'e', {-37.75, -122.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ORVGpsData fix;
        fix.Latitude = c.latitude;
        fix.NS = c.ns;
        fix.Longitude = c.longitude;
        fix.EW = c.ew;
        const GeoPosition position = fixPosition(fix);
        EXPECT_DOUBLE_EQ(position.latitude, c.expected.latitude);
        EXPECT_DOUBLE_EQ(position.longitude, c.expected.longitude);
    }
}

}  // namespace
}  // namespace zentrova
