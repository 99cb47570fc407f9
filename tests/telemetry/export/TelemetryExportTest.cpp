#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/MemoryByteSource.h"
#include "telemetry/export/CsvLine.h"
#include "telemetry/export/FixPosition.h"
#include "telemetry/export/GpxWriter.h"
#include "telemetry/export/KmlWriter.h"
#include "telemetry/export/TelemetryCsvWriter.h"
#include "telemetry/export/TelemetryExporter.h"
#include "telemetry/export/TrackPointBuilder.h"
#include "telemetry/export/UtcTimeText.h"
#include "telemetry/export/XmlText.h"

#include "support/DriveSample.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <sstream>

namespace zentrova {
namespace {

ORVBlackBoxData extract(const test::Bytes& bytes) {
    MemoryByteSource source(bytes);
    ORVBlackBoxData data;
    EXPECT_TRUE(data.ExtractStreamInformation(source));
    return data;
}

std::vector<TelemetryRow> driveRows() {
    const auto rows = TrackPointBuilder::rows(extract(test::driveFile().bytes));
    EXPECT_TRUE(rows.has_value());
    return rows.value_or(std::vector<TelemetryRow>{});
}

TrackSegments segmentsOf(const ORVBlackBoxData& data) {
    const auto rows = TrackPointBuilder::rows(data);
    EXPECT_TRUE(rows.has_value());
    return TrackPointBuilder::segments(rows.value_or(std::vector<TelemetryRow>{}), data.m_NMEAs);
}

TrackSegments driveSegments() { return segmentsOf(extract(test::driveFile().bytes)); }

TEST(TrackPointBuilderTest, EachRowHoldsTheFixAfterItsOwnSentences) {
    const ORVBlackBoxData data = extract(test::driveFile().bytes);
    const auto rows = TrackPointBuilder::rows(data);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 8u);
    const std::uint32_t sentences[] = {0, 2, 2, 0, 2, 1, 2, 1};
    // Index of the record's last snapshot in m_NMEAs, or -1 for none yet.
    const int lastSnapshot[] = {-1, 1, 3, 3, 5, 6, 8, 9};
    for (std::size_t k = 0; k < rows->size(); ++k) {
        SCOPED_TRACE(k);
        const TelemetryRow& row = (*rows)[k];
        EXPECT_EQ(row.record, k);
        EXPECT_EQ(row.timeValue, data.m_Times[k]);
        EXPECT_EQ(row.gsensor, data.m_GSensors[k]);
        EXPECT_EQ(row.unit, data.m_vGpsData[k].unit());
        EXPECT_EQ(row.sentences, sentences[k]);
        if (lastSnapshot[k] < 0) {
            EXPECT_FALSE(row.fix);
        } else {
            ASSERT_TRUE(row.fix);
            EXPECT_EQ(*row.fix, data.m_NMEAs[static_cast<std::size_t>(lastSnapshot[k])]);
        }
    }
}

TEST(TrackPointBuilderTest, SentenceCountMatchesTheExtractionForEveryTerminator) {
    const std::string texts[] = {
        "$GPRMC,1*00\r\n$GPGGA,2*00\r\n", "$GPRMC,1*00", "$GPRMC,1*00\n$XXGGA,2*00\n", "abc$GPRMC\0$GNGSA\0",
        "$G\r$G\n$G", "\r\n\r\n", "$$G,1\n", "$GPRMC,1$GPGGA,2\n",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        ORVBlackBoxData data;
        std::vector<std::uint8_t> buffer(text.begin(), text.end());
        data.ParseNMEA(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        EXPECT_EQ(TrackPointBuilder::sentencesIn(text), data.m_NMEAs.size());
        // After the extraction's split the stored text gives the same count.
        EXPECT_EQ(TrackPointBuilder::sentencesIn(std::string_view(reinterpret_cast<const char*>(buffer.data()),
                                                                  buffer.size())),
                  data.m_NMEAs.size());
    }
}

TEST(TrackPointBuilderTest, ListsThatDoNotFitTogetherGiveNoRows) {
    ORVBlackBoxData data = extract(test::driveFile().bytes);
    data.m_NMEAs.pop_back();
    EXPECT_FALSE(TrackPointBuilder::rows(data));
    data = extract(test::driveFile().bytes);
    data.m_GSensors.pop_back();
    EXPECT_FALSE(TrackPointBuilder::rows(data));
}

TEST(TrackPointBuilderTest, SegmentsSplitWhereValidFixesStopOnly) {
    const TrackSegments segments = driveSegments();
    ASSERT_EQ(segments.size(), 2u);
    ASSERT_EQ(segments[0].size(), 3u);  // records 1, 2, 4: record 3 brought no sentence
    // Records 6 and 7 share one fix time: one point, with the satellites of the last.
    ASSERT_EQ(segments[1].size(), 1u);
    EXPECT_EQ(segments[0][2].record, 4u);
    EXPECT_EQ(segments[1][0].record, 7u);
    EXPECT_EQ(segments[1][0].timeRecord, 6u);
    EXPECT_EQ(segments[0][1].time, "2024-03-12T08:15:01.250Z");
    EXPECT_EQ(segments[0][1].utcMilliseconds, 1710231301250);
    EXPECT_DOUBLE_EQ(segments[1][0].latitude, -37.75);
    EXPECT_DOUBLE_EQ(segments[1][0].longitude, -122.5);
    EXPECT_EQ(segments[0][0].satellites, 8u);
    EXPECT_FLOAT_EQ(static_cast<float>(segments[0][0].hdop), 0.9f);
    EXPECT_NEAR(segments[0][0].speedMetresPerSecond, 22.4 * 1852 / 3600, 1e-5);
}

std::string rmcAt(int second) {
    return "$GNRMC,0915" + std::string(second < 10 ? "0" : "") + std::to_string(second) +
           ".000,A,4807.000,N,01131.000,E,10.0,90.0,140624,,,A*00\r\n";
}

std::string rmcWithoutFixAt(int second) {
    std::string rmc = rmcAt(second);
    rmc.replace(rmc.find(",A,"), 3, ",V,");
    return rmc;
}

std::string ggaAt(int second, const std::string& latitude) {
    return "$GNGGA,0915" + std::string(second < 10 ? "0" : "") + std::to_string(second) + ".000," + latitude +
           ",N,01131.000,E,1,12,0.8,430.0,M,47.3,M,,*00\r\n";
}

ORVBlackBoxData extractTexts(const std::vector<std::string>& texts) {
    test::Mp4TelemetryBuilder builder;
    builder.chunksBeforeMoov = true;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        test::TelemetryRecord record;
        record.time = 1718356500u + static_cast<std::uint32_t>(i / 10);
        record.text = texts[i];
        builder.records.push_back(record);
    }
    return extract(builder.build().bytes);
}

TEST(TrackPointBuilderTest, OnePointPerFixTimeKeepingEveryDistinctPosition) {
    struct Point {
        std::string time;
        double latitudeMinutes;  // minutes past 48 degrees
        std::uint32_t satellites;  // GGA of the GN talker leaves them to GSA
        std::size_t record, timeRecord;
    };
    struct Case {
        const char* what;
        std::vector<std::string> texts;  // one per record
        std::vector<Point> points;
    };
    // The camera's receiver: time, then position, then the satellites of two
    // systems in the records of one second; the other records carry nothing.
    std::vector<std::string> camera;
    for (int second = 0; second < 3; ++second) {
        camera.push_back(rmcAt(second));
        camera.push_back(ggaAt(second, "480" + std::to_string(7 + second) + ".000"));
        camera.push_back("$GNGSA,A,3,01,03,07,08,10,16,19,,,,,,1.4,0.8,1.2*00\r\n");
        camera.push_back("$GNGSA,A,3,66,67,75,76,82,,,,,,,,1.4,0.8,1.2*00\r\n");
        camera.resize(camera.size() + 6);
    }
    const Case cases[] = {
        {"sentences of one second give one point with the whole fix",
         camera,
         {{"2024-06-14T09:15:00Z", 7, 12, 3, 0}, {"2024-06-14T09:15:01Z", 8, 12, 13, 10},
          {"2024-06-14T09:15:02Z", 9, 12, 23, 20}}},
        {"positions several times a second under one time each give a point",
         {rmcAt(5), ggaAt(5, "4807.000"), ggaAt(5, "4807.100"), ggaAt(5, "4807.100"), ggaAt(5, "4807.200")},
         {{"2024-06-14T09:15:05Z", 7, 0, 1, 0}, {"2024-06-14T09:15:05Z", 7.1, 0, 3, 0},
          {"2024-06-14T09:15:05Z", 7.2, 0, 4, 0}}},
        {"the place of a second without a fix is not carried into the first fix",
         {rmcWithoutFixAt(1), ggaAt(1, "4807.000"), rmcAt(2), ggaAt(2, "4807.100")},
         {{"2024-06-14T09:15:02Z", 7.1, 0, 3, 2}}},
        {"a car standing still gives a point for every second",
         {rmcAt(1), ggaAt(1, "4807.000"), rmcAt(2), ggaAt(2, "4807.000"), rmcAt(3)},
         {{"2024-06-14T09:15:01Z", 7, 0, 1, 0}, {"2024-06-14T09:15:02Z", 7, 0, 3, 2},
          {"2024-06-14T09:15:03Z", 7, 0, 4, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TrackSegments segments = segmentsOf(extractTexts(c.texts));
        ASSERT_EQ(segments.size(), 1u);
        ASSERT_EQ(segments[0].size(), c.points.size());
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            SCOPED_TRACE(i);
            const TrackPoint& point = segments[0][i];
            EXPECT_EQ(point.time, c.points[i].time);
            // The parser reads NMEA numbers in single precision.
            EXPECT_NEAR(point.latitude, 48.0 + c.points[i].latitudeMinutes / 60.0, 1e-5);
            EXPECT_EQ(point.satellites, c.points[i].satellites);
            EXPECT_EQ(point.record, c.points[i].record);
            EXPECT_EQ(point.timeRecord, c.points[i].timeRecord);
        }
    }
}

TEST(FixPositionTest, HemisphereOfEachFixAndInvalidFixes) {
    ORVGpsData fix;
    fix.gpsValid = 1;
    fix.Latitude = 3745.0;
    fix.Longitude = 12230.0;
    fix.NS = 'S';
    fix.EW = 'W';
    EXPECT_DOUBLE_EQ(fixPosition(fix).latitude, -37.75);
    EXPECT_DOUBLE_EQ(fixPosition(fix).longitude, -122.5);
    fix.NS = 'N';
    fix.EW = 'E';
    EXPECT_DOUBLE_EQ(fixPosition(fix).latitude, 37.75);
    EXPECT_TRUE(exportablePosition(fix));

    struct Case {
        const char* what;
        std::uint8_t valid;
        double latitude, longitude;
        bool exported;
    } cases[] = {
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
        EXPECT_EQ(exportablePosition(fix).has_value(), c.exported);
    }
}

TEST(UtcTimeTextTest, RealTimesOnly) {
    struct Case {
        SYSTEMTIME time;
        std::optional<std::string> text;
    } cases[] = {
        {{2024, 3, 0, 12, 8, 15, 0, 0}, "2024-03-12T08:15:00Z"},
        {{2094, 3, 0, 23, 12, 35, 19, 7}, "2094-03-23T12:35:19.007Z"},
        {{2024, 2, 0, 29, 23, 59, 59, 999}, "2024-02-29T23:59:59.999Z"},
        {{}, std::nullopt},
        {{2023, 2, 0, 29, 0, 0, 0, 0}, std::nullopt},
        {{2024, 13, 0, 1, 0, 0, 0, 0}, std::nullopt},
        {{2024, 1, 0, 1, 24, 0, 0, 0}, std::nullopt},
        {{2024, 1, 0, 1, 0, 60, 0, 0}, std::nullopt},
        {{2024, 1, 0, 1, 0, 0, 99, 0}, std::nullopt},
        {{2024, 1, 0, 1, 0, 0, 0, 1000}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.value_or("none"));
        EXPECT_EQ(utcTimeText(c.time), c.text);
    }
}

// The element names of the direct children of each <trkpt>.
std::vector<std::vector<std::string>> trackPointChildren(const std::string& gpx) {
    std::vector<std::vector<std::string>> points;
    std::size_t at = 0;
    while ((at = gpx.find("<trkpt ", at)) != std::string::npos) {
        const std::size_t end = gpx.find("</trkpt>", at);
        std::vector<std::string> names;
        int depth = 0;
        for (std::size_t i = gpx.find('>', at) + 1; i < end; ++i) {
            if (gpx[i] != '<') continue;
            const bool closing = gpx[i + 1] == '/';
            const std::size_t nameEnd = gpx.find_first_of(" >/", i + 1 + (closing ? 1 : 0));
            if (closing) {
                --depth;
            } else {
                if (depth == 0) names.push_back(gpx.substr(i + 1, nameEnd - i - 1));
                ++depth;
            }
        }
        points.push_back(names);
        at = end;
    }
    return points;
}

TEST(GpxWriterTest, TrackPointChildrenInTheSchemaOrder) {
    const std::vector<std::string> schemaOrder = {
        "ele",  "time", "magvar", "geoidheight", "name", "cmt", "desc", "src",           "link",   "sym",
        "type", "fix",  "sat",    "hdop",        "vdop", "pdop", "ageofdgpsdata", "dgpsid", "extensions"};
    const std::string gpx = GpxWriter::write(driveSegments(), "drive");
    const auto points = trackPointChildren(gpx);
    ASSERT_EQ(points.size(), 4u);
    for (const auto& names : points) {
        EXPECT_EQ(names, (std::vector<std::string>{"time", "sat", "hdop", "extensions"}));
        std::size_t last = 0;
        for (const std::string& name : names) {
            const auto position = std::find(schemaOrder.begin(), schemaOrder.end(), name);
            ASSERT_NE(position, schemaOrder.end()) << name;
            const auto index = static_cast<std::size_t>(position - schemaOrder.begin());
            EXPECT_GE(index, last) << name;
            last = index;
        }
    }
    EXPECT_NE(gpx.find("<extensions><gpxtpx:TrackPointExtension><gpxtpx:speed>11.524</gpxtpx:speed>"
                       "<gpxtpx:course>84.4</gpxtpx:course></gpxtpx:TrackPointExtension></extensions>"),
              std::string::npos);
    EXPECT_NE(gpx.find("xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v2\""), std::string::npos);
    EXPECT_NE(gpx.find("<trkpt lat=\"48.11730143229167\" lon=\"11.516666666666667\">"), std::string::npos);
}

TEST(GpxWriterTest, ValuesOutsideTheSchemaRangesAreLeftOut) {
    TrackPoint point;
    point.latitude = 1;
    point.longitude = 2;
    point.hdop = -1;
    point.speedMetresPerSecond = -0.5;
    point.course = 360;
    const std::string gpx = GpxWriter::write({{point}}, "a&b<c>\xff");
    EXPECT_NE(gpx.find("<trkpt lat=\"1\" lon=\"2\"><sat>0</sat></trkpt>"), std::string::npos) << gpx;
    EXPECT_NE(gpx.find("<name>a&amp;b&lt;c&gt;?</name>"), std::string::npos);
    const std::string empty = GpxWriter::write({}, "none");
    EXPECT_EQ(empty.find("<trkseg>"), std::string::npos);
    EXPECT_NE(empty.find("<trk>"), std::string::npos);
}

TEST(KmlWriterTest, RouteAndTimedTrackPerSegment) {
    const std::string kml = KmlWriter::write(driveSegments(), "drive");
    EXPECT_NE(kml.find("<LineString><tessellate>1</tessellate><coordinates>11.516666666666667,48.11730143229167 "),
              std::string::npos);
    EXPECT_NE(kml.find("<gx:MultiTrack>"), std::string::npos);
    EXPECT_NE(kml.find("<when>2024-03-12T08:15:01.250Z</when>"), std::string::npos);
    EXPECT_NE(kml.find("<gx:coord>-122.5 -37.75"), std::string::npos);

    TrackPoint untimed;
    untimed.latitude = 1;
    untimed.longitude = 2;
    const std::string routeOnly = KmlWriter::write({{untimed, untimed}}, "x");
    EXPECT_NE(routeOnly.find("<coordinates>2,1 2,1</coordinates>"), std::string::npos);
    EXPECT_EQ(routeOnly.find("gx:Track"), std::string::npos);
}

TEST(CsvLineTest, QuotesOnlyWhatNeedsIt) {
    struct Case {
        std::string field;
        std::string written;
    } cases[] = {
        {"plain", "plain"},  {"", ""},
        {"a,b", "\"a,b\""},  {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""}, {"lf\n", "\"lf\n\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        std::string out;
        CsvLine().text(c.field).integer(7).appendTo(out);
        EXPECT_EQ(out, c.written + ",7\r\n");
    }
}

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

TEST(TelemetryExporterTest, NoRecordsNoExport) {
    ORVBlackBoxData empty;
    for (auto format : {TelemetryExportFormat::Gpx, TelemetryExportFormat::Kml, TelemetryExportFormat::Csv}) {
        EXPECT_FALSE(TelemetryExporter::exportTelemetry(format, empty, "x"));
    }
    const ORVBlackBoxData data = extract(test::driveFile().bytes);
    EXPECT_EQ(TelemetryExporter::exportTelemetry(TelemetryExportFormat::Gpx, data, "x")->points, 4u);
    EXPECT_EQ(TelemetryExporter::exportTelemetry(TelemetryExportFormat::Csv, data, "x")->points, 8u);
}

}  // namespace
}  // namespace zentrova
