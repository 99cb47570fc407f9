#include "records/FlashDataTable.h"

#include <gtest/gtest.h>


namespace zentrova {
namespace {

FLASH_SAVE_VALUE_STRUCT sampleRecord() {
    FLASH_SAVE_VALUE_STRUCT r;
    r.seq = 4660;
    r.yoil = 4;
    r.value = 1;
    r.year = 123;
    r.month = 7;
    r.day = 9;
    r.hour = 8;
    r.minute = 5;
    r.second = 3;
    r.lat_ddmm = 3731;
    r.lat_mmmm = 512;
    r.lon_dddmm = 12658;
    r.lon_mmmm = 7;
    r.cur_speed = 88;
    r.driving_distance = 123456;
    r.max_speed = 130;
    r.x = 256;
    r.y = -64;
    r.z = 0;
    r.battery = 126;
    return r;
}

TEST(FlashDataTableTest, EveryColumnOfARecord) {
    FlashDataTable table;
    table.setRecords({FLASH_SAVE_VALUE_STRUCT{}, sampleRecord()});
    const char* expected[FlashDataTable::kColumnCount] = {"2",     "4660", "2023/07/09", "08:05:03", "THU",
                                                          "3731.0512", "12658.0007", "12345.6", "88", "130",
                                                          "A",     "+1.00", "-0.25", "+0.00", "12.6"};
    for (int column = 0; column < FlashDataTable::kColumnCount; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(table.stringForColumnIndex(column, 1), expected[column]);
    }
}

TEST(FlashDataTableTest, CellTextsOfSingleFields) {
    struct Case {
        const char* name;
        void (*set)(FLASH_SAVE_VALUE_STRUCT&);
        int column;
        const char* text;
    } cases[] = {
        {"sunday", [](FLASH_SAVE_VALUE_STRUCT& r) { r.yoil = 0; }, 4, "SUN"},
        {"saturday", [](FLASH_SAVE_VALUE_STRUCT& r) { r.yoil = 6; }, 4, "SAT"},
        {"weekday 7", [](FLASH_SAVE_VALUE_STRUCT& r) { r.yoil = 7; }, 4, "-"},
        {"weekday 255", [](FLASH_SAVE_VALUE_STRUCT& r) { r.yoil = 255; }, 4, "-"},
        {"status 0", [](FLASH_SAVE_VALUE_STRUCT& r) { r.value = 0; }, 10, "V"},
        {"status 1", [](FLASH_SAVE_VALUE_STRUCT& r) { r.value = 1; }, 10, "A"},
        {"status 2", [](FLASH_SAVE_VALUE_STRUCT& r) { r.value = 2; }, 10, "F"},
        {"status 3", [](FLASH_SAVE_VALUE_STRUCT& r) { r.value = 3; }, 10, "V"},
        {"battery 126", [](FLASH_SAVE_VALUE_STRUCT& r) { r.battery = 126; }, 14, "12.6"},
        {"battery 95 pads the volts", [](FLASH_SAVE_VALUE_STRUCT& r) { r.battery = 95; }, 14, " 9.5"},
        {"battery 0", [](FLASH_SAVE_VALUE_STRUCT& r) { r.battery = 0; }, 14, " 0.0"},
        {"battery -15 truncates toward zero", [](FLASH_SAVE_VALUE_STRUCT& r) { r.battery = -15; }, 14, "-1.-5"},
        {"X 256", [](FLASH_SAVE_VALUE_STRUCT& r) { r.x = 256; }, 11, "+1.00"},
        {"X -64", [](FLASH_SAVE_VALUE_STRUCT& r) { r.x = -64; }, 11, "-0.25"},
        {"X 0", [](FLASH_SAVE_VALUE_STRUCT& r) { r.x = 0; }, 11, "+0.00"},
        {"X -1 keeps its sign", [](FLASH_SAVE_VALUE_STRUCT& r) { r.x = -1; }, 11, "-0.00"},
        {"Y", [](FLASH_SAVE_VALUE_STRUCT& r) { r.y = -32768; }, 12, "-128.00"},
        {"Z", [](FLASH_SAVE_VALUE_STRUCT& r) { r.z = 32767; }, 13, "+128.00"},
        {"year 123", [](FLASH_SAVE_VALUE_STRUCT& r) { r.year = 123; }, 2, "2023/00/00"},
        {"year 0", [](FLASH_SAVE_VALUE_STRUCT& r) { r.year = 0; }, 2, "1900/00/00"},
        {"midnight", [](FLASH_SAVE_VALUE_STRUCT& r) { r.hour = 0; }, 3, "00:00:00"},
        {"no position", [](FLASH_SAVE_VALUE_STRUCT&) {}, 5, "0000.0000"},
        {"no longitude", [](FLASH_SAVE_VALUE_STRUCT&) {}, 6, "00000.0000"},
        {"distance in tenths", [](FLASH_SAVE_VALUE_STRUCT& r) { r.driving_distance = 5; }, 7, "0.5"},
        {"largest distance", [](FLASH_SAVE_VALUE_STRUCT& r) { r.driving_distance = 0xFFFFFFFF; }, 7, "429496729.5"},
        {"largest sequence", [](FLASH_SAVE_VALUE_STRUCT& r) { r.seq = 65535; }, 1, "65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FLASH_SAVE_VALUE_STRUCT record;
        c.set(record);
        EXPECT_EQ(FlashDataTable::cellText(c.column, 0, record), c.text);
    }
}

TEST(FlashDataTableTest, RowsAreNumberedFromOne) {
    FlashDataTable table;
    table.setRecords(std::vector<FLASH_SAVE_VALUE_STRUCT>(3));
    ASSERT_EQ(table.flashDataNum(), 3);
    EXPECT_EQ(table.stringForColumnIndex(0, 0), "1");
    EXPECT_EQ(table.stringForColumnIndex(0, 2), "3");
    EXPECT_EQ(table.stringForColumnIndex(0, 3), "");
    EXPECT_EQ(table.stringForColumnIndex(0, -1), "");
    EXPECT_EQ(table.stringForColumnIndex(15, 0), "");
    EXPECT_EQ(table.stringForColumnIndex(-1, 0), "");
}

TEST(FlashDataTableTest, TitlesAndWidths) {
    const std::vector<std::string> names = FlashDataTable::columnNames();
    ASSERT_EQ(names.size(), 15u);
    EXPECT_EQ(names[0], "No.");
    EXPECT_EQ(names[11], "X");
    EXPECT_EQ(names[12], "Y");
    EXPECT_EQ(names[13], "Z");
    EXPECT_EQ(names[14], "Battery (V)");
    for (const std::string& name : names) EXPECT_FALSE(name.empty());
    const int widths[15] = {38, 38, 86, 72, 70, 64, 72, 60, 60, 60, 48, 48, 48, 48, 60};
    for (int column = 0; column < 15; ++column) EXPECT_EQ(FlashDataTable::columnWidth(column), widths[column]);
    EXPECT_EQ(FlashDataTable::columnWidth(15), 0);
}

TEST(FlashDataTableTest, MapPositionOfARecord) {
    struct Case {
        const char* name;
        std::uint16_t latDdmm, latMmmm, lonDddmm, lonMmmm;
        double latitude, longitude;
        bool onMap;
    } cases[] = {
        {"degrees and minutes", 3731, 512, 12658, 7, 37.51752, 126 + 58.0007 / 60, true},
        {"no fix", 0, 0, 0, 0, 0, 0, false},
        {"only a latitude", 3731, 512, 0, 0, 37.51752, 0, false},
        {"minutes only", 59, 9999, 1, 5000, 59.9999 / 60, 1.5 / 60, true},
        // A minute fraction above four digits lengthens the text, which then
        // reads back as the longer number.
        {"five fraction digits", 3731, 65535, 1, 0, 37 + 31.65535 / 60, 1.0 / 60, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FLASH_SAVE_VALUE_STRUCT record;
        record.lat_ddmm = c.latDdmm;
        record.lat_mmmm = c.latMmmm;
        record.lon_dddmm = c.lonDddmm;
        record.lon_mmmm = c.lonMmmm;
        FlashDataPosition position = FlashDataTable::positionOf(record);
        EXPECT_NEAR(position.latitude, c.latitude, 1e-9);
        EXPECT_NEAR(position.longitude, c.longitude, 1e-9);
        EXPECT_EQ(position.isOnMap(), c.onMap);
    }
    FlashDataTable table;
    table.setRecords({sampleRecord()});
    ASSERT_TRUE(table.positionForRow(0));
    EXPECT_NEAR(table.positionForRow(0)->latitude, 37.51752, 1e-12);
    EXPECT_FALSE(table.positionForRow(1));
    EXPECT_FALSE(table.positionForRow(-1));
}

}  // namespace
}  // namespace zentrova
