#include "cli/TelemetryCommand.h"

#include "cli/CliCommand.h"
#include "common/JsonWriter.h"
#include "common/Log.h"
#include "telemetry/ORVBlackBoxData.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace zentrova {
namespace {

constexpr std::string_view kTelemetryHelp =
    "usage: zentrova-cli telemetry FILE.mp4 [--json]\n"
    "\n"
    "Reads the telemetry records of a front recording: one time value, one\n"
    "G-sensor reading and one block of NMEA text per record, and the GPS fix\n"
    "after every NMEA sentence.\n"
    "\n"
    "  --json   print every list as JSON: ok, frameCount, m_Times,\n"
    "           m_vGSensorData, m_GSensors, gpsUnits and m_NMEAs; numbers are\n"
    "           exact (floats in the shortest form that reads back the same)\n"
    "  --help   show this text\n"
    "\n"
    "A file without the camera's telemetry gives ok false and empty lists\n"
    "(exit status 0); a missing file is an error (exit status 2).\n";

// A hemisphere byte as a one-character string; bytes above 127 are taken as
// Latin-1 so that the JSON text stays valid UTF-8.
std::string hemisphereText(char hemisphere) {
    const auto byte = static_cast<unsigned char>(hemisphere);
    if (byte < 0x80) return std::string(1, hemisphere);
    std::string text;
    text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    return text;
}

void writeTime(JsonWriter& json, const SYSTEMTIME& t) {
    json.beginArray()
        .value(t.wYear).value(t.wMonth).value(t.wDayOfWeek).value(t.wDay)
        .value(t.wHour).value(t.wMinute).value(t.wSecond).value(t.wMilliseconds)
        .endArray();
}

void writeFix(JsonWriter& json, const ORVGpsData& fix) {
    json.beginObject().key("SVonChannel").beginArray();
    for (const PAIR& channel : fix.SVonChannel) json.beginArray().value(channel.first).value(channel.second).endArray();
    json.endArray().key("SatelliteUsed").beginArray();
    for (std::uint8_t number : fix.SatelliteUsed) json.value(number);
    json.endArray()
        .key("NS").value(hemisphereText(fix.NS))
        .key("EW").value(hemisphereText(fix.EW))
        .key("Enable_GNGNS").value(fix.Enable_GNGNS)
        .key("Enable_GNGSA").value(fix.Enable_GNGSA)
        .key("Cnt_GNGSA").value(fix.Cnt_GNGSA)
        .key("gpsValid").value(fix.gpsValid)
        .key("SatelliteCount").value(fix.SatelliteCount)
        .key("SatelliteUsedCount").value(fix.SatelliteUsedCount)
        .key("SatelliteUsedCount_GPS").value(fix.SatelliteUsedCount_GPS)
        .key("SatelliteUsedCount_GLONASS").value(fix.SatelliteUsedCount_GLONASS)
        .key("PDOP").value(fix.PDOP)
        .key("HDOP").value(fix.HDOP)
        .key("VDOP").value(fix.VDOP)
        .key("Latitude").value(fix.Latitude)
        .key("Longitude").value(fix.Longitude)
        .key("SpeedOverGround").value(fix.SpeedOverGround)
        .key("CourseOverGround").value(fix.CourseOverGround)
        .key("Now");
    writeTime(json, fix.Now);
    json.endObject();
}

void writeSummary(std::ostream& out, bool ok, const ORVBlackBoxData& data) {
    out << (ok ? "telemetry found" : "no telemetry (not laid out as the camera writes it)") << ": "
        << data.m_Times.size() << " records, " << data.m_NMEAs.size() << " NMEA sentences, frameCount "
        << data.frameCount() << '\n';
}

// Empty when the path can be read as a file, else the reason.
std::string unreadableReason(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) return "no such file";
    if (std::filesystem::is_directory(status)) return "is a directory";
    if (!std::ifstream(path, std::ios::binary)) return "cannot be opened";
    return {};
}

}  // namespace

std::string telemetryResultJson(bool ok, const ORVBlackBoxData& data) {
    JsonWriter json;
    json.beginObject().key("ok").value(ok).key("frameCount").value(data.frameCount()).key("m_Times").beginArray();
    for (std::uint32_t time : data.m_Times) json.value(time);
    json.endArray().key("m_vGSensorData").beginArray();
    for (const ORVAviGSensorData& raw : data.m_vGSensorData) {
        json.beginArray().value(raw.X()).value(raw.Y()).value(raw.Z()).value(raw.T()).endArray();
    }
    json.endArray().key("m_GSensors").beginArray();
    for (const ORVGSensor& sample : data.m_GSensors) {
        json.beginArray().value(sample.x()).value(sample.y()).value(sample.z()).endArray();
    }
    json.endArray().key("gpsUnits").beginArray();
    for (const ORVAviGpsData& gps : data.m_vGpsData) json.value(gps.unit());
    json.endArray().key("m_NMEAs").beginArray();
    for (const ORVGpsData& fix : data.m_NMEAs) writeFix(json, fix);
    json.endArray().endObject();
    return json.text();
}

int runTelemetryCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    bool asJson = false;
    std::optional<std::string> file;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kTelemetryHelp;
            return kExitOk;
        }
        if (arg == "--json") {
            asJson = true;
        } else if (arg.starts_with("--")) {
            return reportUsageError(err, "telemetry: unknown option " + arg);
        } else if (file) {
            return reportUsageError(err, "telemetry: only one file may be given");
        } else {
            file = arg;
        }
    }
    if (!file) return reportUsageError(err, "telemetry: a file is required (see zentrova-cli telemetry --help)");
    const std::string reason = unreadableReason(*file);
    if (!reason.empty()) return reportUsageError(err, "telemetry: cannot read " + *file + ": " + reason);

    // The extraction's progress lines are for the application's log, not for
    // a terminal or a pipe reading this output.
    setLogSink([](std::string_view) {});
    ORVBlackBoxData data;
    const bool ok = data.ExtractStreamInformation(*file);
    setLogSink({});

    if (asJson) {
        out << telemetryResultJson(ok, data) << '\n';
    } else {
        writeSummary(out, ok, data);
    }
    out.flush();
    return kExitOk;
}

}  // namespace zentrova
