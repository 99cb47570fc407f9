#include "cli/TelemetryCommand.h"

#include "cli/CliCommand.h"
#include "cli/CliFileChecks.h"
#include "common/JsonWriter.h"
#include "common/Log.h"
#include "common/linux/FileChecks.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/TelemetryExporter.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <sstream>

namespace zentrova {
namespace {

constexpr std::string_view kTelemetryHelp =
    "usage: zentrova-cli telemetry FILE.mp4 [--json|--gpx|--kml|--csv] [-o OUT]\n"
    "\n"
    "Reads the telemetry records of a front recording: one time value, one\n"
    "G-sensor reading and one block of NMEA text per record, and the GPS fix\n"
    "after every NMEA sentence.\n"
    "\n"
    "  --json   print every list as JSON: ok, frameCount, m_Times,\n"
    "           m_vGSensorData, m_GSensors, gpsUnits and m_NMEAs; numbers are\n"
    "           exact (floats in the shortest form that reads back the same)\n"
    "  --gpx    print the route as GPX 1.1: one point per record that brought\n"
    "           an NMEA sentence and left a valid fix, a new segment where\n"
    "           valid fixes stop, speed and course in TrackPointExtension v2\n"
    "  --kml    print the route as KML: a LineString and a gx:Track with times\n"
    "  --csv    print one CSV row per record: time value, G-sensor x/y/z and\n"
    "           the fix after the record's sentences\n"
    "  -o OUT   write to the file OUT (replaced whole) instead of the output;\n"
    "           OUT may not be FILE itself\n"
    "  --help   show this text\n"
    "\n"
    "A file without the camera's telemetry gives ok false and empty lists\n"
    "(exit status 0), or for --gpx, --kml and --csv an error (exit status 1);\n"
    "a missing or unreadable file, or one that is not a regular file, is an\n"
    "error (exit status 2). A damaged file whose chunk table lists more records\n"
    "than the file has room for, or more than 262144 records or 524288 NMEA\n"
    "sentences, is refused with an error (exit status 1).\n";

enum class OutputForm { Summary, Json, Gpx, Kml, Csv };

struct TelemetryOptions {
    OutputForm form = OutputForm::Summary;
    std::optional<std::string> file;
    std::optional<std::string> outPath;
};

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

// Why the extraction refused a file that it could read; none when it did not.
std::optional<std::string> refusalReason(TelemetryFailure failure) {
    switch (failure) {
    case TelemetryFailure::TooManyRecords:
        return "too many records: the chunk table lists more than the file has room for or than " +
               std::to_string(ORVBlackBoxData::kMostRecords);
    case TelemetryFailure::TooManySentences:
        return "too many NMEA sentences: more than " + std::to_string(ORVBlackBoxData::kMostSentences);
    case TelemetryFailure::OutOfMemory:
        return std::string("out of memory while reading the telemetry");
    default:
        return std::nullopt;
    }
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

namespace {

std::optional<OutputForm> formOfOption(std::string_view option) {
    if (option == "--json") return OutputForm::Json;
    if (option == "--gpx") return OutputForm::Gpx;
    if (option == "--kml") return OutputForm::Kml;
    if (option == "--csv") return OutputForm::Csv;
    return std::nullopt;
}

TelemetryExportFormat exportFormatOf(OutputForm form) {
    if (form == OutputForm::Kml) return TelemetryExportFormat::Kml;
    if (form == OutputForm::Csv) return TelemetryExportFormat::Csv;
    return TelemetryExportFormat::Gpx;
}

// The file's base name without its extension, for the document's name.
std::string documentName(const std::string& file) {
    return std::filesystem::path(file).stem().string();
}

// The text for the chosen form; none (after telling err) when a track or
// table was asked for and the file has no telemetry records.
std::optional<std::string> outputText(const TelemetryOptions& options, bool ok, const ORVBlackBoxData& data,
                                      std::ostream& err) {
    if (options.form == OutputForm::Json) return telemetryResultJson(ok, data) + '\n';
    if (options.form == OutputForm::Summary) {
        std::ostringstream summary;
        writeSummary(summary, ok, data);
        return summary.str();
    }
    auto exported = TelemetryExporter::exportTelemetry(exportFormatOf(options.form), data, documentName(*options.file));
    if (!ok || !exported) {
        reportFailure(err, "telemetry: " + *options.file + " has no telemetry records");
        return std::nullopt;
    }
    return std::move(exported->text);
}

int writeOutput(const TelemetryOptions& options, const std::string& text, std::ostream& out, std::ostream& err) {
    if (!options.outPath) {
        out << text;
        out.flush();
        return kExitOk;
    }
    PosixAtomicFileWriter writer;
    const auto error = writer.replaceFile(
        *options.outPath, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (error) return reportWriteFailure(err, "telemetry", *options.outPath, *error);
    return kExitOk;
}

}  // namespace

int runTelemetryCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    TelemetryOptions options;
    bool formGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kTelemetryHelp;
            return kExitOk;
        }
        if (const auto form = formOfOption(arg)) {
            if (formGiven && *form != options.form) {
                return reportUsageError(err, "telemetry: give only one of --json, --gpx, --kml and --csv");
            }
            options.form = *form;
            formGiven = true;
        } else if (arg == "-o" || arg == "--output") {
            if (i + 1 >= args.size()) return reportUsageError(err, "telemetry: " + arg + " needs a file name");
            options.outPath = args[++i];
        } else if (arg.starts_with("-")) {
            return reportUsageError(err, "telemetry: unknown option " + arg);
        } else if (options.file) {
            return reportUsageError(err, "telemetry: only one file may be given");
        } else {
            options.file = arg;
        }
    }
    if (!options.file) {
        return reportUsageError(err, "telemetry: a file is required (see zentrova-cli telemetry --help)");
    }
    const std::string& file = *options.file;
    if (const auto reason = unreadableFileReason(file)) {
        return reportUsageError(err, "telemetry: cannot read " + file + ": " + *reason);
    }
    if (options.outPath) {
        if (const auto problem = outputPathProblem(*options.outPath, {file})) {
            return reportUsageError(err, "telemetry: " + *problem);
        }
    }

    // The extraction's progress lines are for the application's log, not for
    // a terminal or a pipe reading this output.
    setLogSink([](std::string_view) {});
    ORVBlackBoxData data;
    const bool ok = data.ExtractStreamInformation(file);
    setLogSink({});
    if (const auto refused = refusalReason(data.lastFailure())) {
        err << "zentrova-cli: telemetry: " << file << ": " << *refused << '\n';
        return kExitFailure;
    }

    const auto text = outputText(options, ok, data, err);
    if (!text) return kExitFailure;
    return writeOutput(options, *text, out, err);
}

}  // namespace zentrova
