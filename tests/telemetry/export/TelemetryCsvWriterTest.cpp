#include "telemetry/export/TelemetryCsvWriter.h"

#include "support/TelemetryExportSamples.h"

#include <gtest/gtest.h>

#include <clocale>
#include <iostream>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::driveRows;

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Restores the process's locales at the end of a test.
class LocaleGuard {
public:
    LocaleGuard() : m_cpp(std::locale()), m_c(std::setlocale(LC_ALL, nullptr)) {}
    ~LocaleGuard() {
        std::locale::global(m_cpp);
        std::setlocale(LC_ALL, m_c.c_str());
    }

private:
    std::locale m_cpp;
    std::string m_c;
};

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ',')) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

TEST(TelemetryCsvWriterTest, OneRowPerRecordWithPointDecimalsInACommaLocale) {
    LocaleGuard guard;
    std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    // A real comma-decimal C locale as well, where the system has one.
    const bool systemLocale = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE.utf8");
    if (!systemLocale) std::cout << "[ NOTE     ] no de_DE locale installed: C++ locale only\n";

    const std::string csv = TelemetryCsvWriter::write(driveRows());
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < csv.size();) {
        const std::size_t end = csv.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every record ends with CR LF";
        lines.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0],
              "record,time,gsensor_x,gsensor_y,gsensor_z,fix_time,gps_valid,latitude,longitude,speed,speed_unit,"
              "course,satellites,hdop");
    for (const std::string& line : lines) EXPECT_EQ(fieldsOf(line).size(), 14u) << line;
    EXPECT_EQ(lines[1], "0,1710231299,0,0,1,,,,,,,,,");
    EXPECT_EQ(lines[2],
              "1,1710231300,1,-0.5,0.00390625,2024-03-12T08:15:00Z,1,48.11730143229167,11.516666666666667,"
              "41.485,km/h,84.4,8,0.9");
    EXPECT_EQ(lines[3],
              "2,1710231301,0,0,0,2024-03-12T08:15:01.250Z,1,48.1183349609375,11.518332926432294,11.508,mi/h,90,7,"
              "1.2");
    EXPECT_EQ(lines[6], "5,1710231304,0,0,0,2024-03-12T08:15:04Z,0,,,0.000,km/h,0,7,1.1") << "no position while invalid";
    EXPECT_EQ(lines[7], "6,1710231305,0,0,0,2024-03-12T08:15:05Z,1,-37.75000000000001,-122.5,9.260,km/h,180.5,5,2");
}

}  // namespace
}  // namespace zentrova
