#include "telemetry/export/ExportablePosition.h"


#include <gtest/gtest.h>

namespace zentrova {
namespace {

TEST(ExportablePositionTest, OnlyValidFixesOnTheGlobeAreExported) {
    ORVGpsData fix;
    fix.NS = 'S';
    fix.EW = 'W';

    struct Case {
        const char* what;
        std::uint8_t valid;
        double latitude, longitude;
        bool exported;
    } cases[] = {
        {"valid fix", 1, 3745.0, 12230.0, true},
        {"receiver without fix", 0, 3745.0, 12230.0, false},
        {"position never set", 1, 0.0, 0.0, false},
        {"on the equator", 1, 0.0, 12230.0, true},
        {"latitude off the globe", 1, 9999.0, 12230.0, false},
        {"longitude off the globe", 1, 3745.0, 18100.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fix.gpsValid = c.valid;
        fix.Latitude = c.latitude;
        fix.Longitude = c.longitude;
        const auto position = exportablePosition(fix);
        EXPECT_EQ(position.has_value(), c.exported);
        if (position) {
            EXPECT_EQ(*position, fixPosition(fix)) << "the hemisphere rule of every view";
        }
    }
}

}  // namespace
}  // namespace zentrova
