#include "telemetry/export/TelemetryCsvWriter.h"

#include "telemetry/ORVAviGpsData.h"
#include "telemetry/export/CsvLine.h"
#include "telemetry/export/ExportablePosition.h"
#include "telemetry/export/UtcTimeText.h"

namespace zentrova {
namespace {

constexpr std::string_view kHeader =
    "record,time,gsensor_x,gsensor_y,gsensor_z,fix_time,gps_valid,latitude,longitude,speed,speed_unit,course,"
    "satellites,hdop\r\n";
constexpr int kFixColumns = 9;

}  // namespace

void TelemetryCsvWriter::appendRow(std::string& out, const TelemetryRow& row) {
    CsvLine line;
    line.integer(row.record).integer(row.timeValue);
    line.reading(row.gsensor.x()).reading(row.gsensor.y()).reading(row.gsensor.z());
    if (!row.fix) {
        for (int i = 0; i < kFixColumns; ++i) line.empty();
        line.appendTo(out);
        return;
    }
    const ORVGpsData& fix = *row.fix;
    const auto time = utcTimeText(fix.Now);
    if (time) {
        line.text(*time);
    } else {
        line.empty();
    }
    line.integer(fix.gpsValid);
    if (const auto position = exportablePosition(fix)) {
        line.number(position->latitude).number(position->longitude);
    } else {
        line.empty().empty();
    }
    const bool kilometres = row.unit == ORVAviGpsData::kKilometresPerHour;
    line.number(fix.SpeedOverGround * (kilometres ? kKilometresPerHourPerKnot : kMilesPerHourPerKnot), 3)
        .text(kilometres ? "km/h" : "mi/h")
        .reading(fix.CourseOverGround)
        .integer(fix.SatelliteUsedCount)
        .reading(fix.HDOP);
    line.appendTo(out);
}

std::string TelemetryCsvWriter::write(const std::vector<TelemetryRow>& rows) {
    std::string out;
    out.reserve(kHeader.size() + rows.size() * 120);
    out += kHeader;
    for (const TelemetryRow& row : rows) appendRow(out, row);
    return out;
}

}  // namespace zentrova
