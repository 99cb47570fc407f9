#include "cli/ExportCommand.h"

#include "cli/CliCommand.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "recordings/ORVMediaList.h"
#include "recordings/linux/PosixDirectoryLister.h"
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/TelemetryExporter.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <future>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

namespace zentrova {
namespace {

constexpr std::string_view kExportHelp =
    "usage: zentrova-cli export DIR OUT_DIR --gpx|--kml|--csv\n"
    "\n"
    "Writes the telemetry of every front recording under DIR, in the order the\n"
    "application lists them, to one file per recording in OUT_DIR, named after\n"
    "the recording (alwa_20240312_081500_F.gpx). OUT_DIR is made when missing;\n"
    "files of the same name there are replaced.\n"
    "\n"
    "  --gpx    GPX 1.1 track (see zentrova-cli telemetry --help)\n"
    "  --kml    KML LineString and gx:Track\n"
    "  --csv    one CSV row per telemetry record\n"
    "  --help   show this text\n"
    "\n"
    "A progress line per recording goes to standard error, a summary to\n"
    "standard output. A recording without telemetry is reported and skipped.\n"
    "Exit status: 0 when every recording with telemetry was written, 1 when a\n"
    "file could not be written, 2 for wrong arguments.\n";

struct ExportOptions {
    std::optional<TelemetryExportFormat> format;
    std::vector<std::string> directories;
};

struct ExportTally {
    std::size_t recordings = 0;
    std::size_t written = 0;
    std::size_t points = 0;
    std::size_t withoutTelemetry = 0;
    std::size_t failures = 0;
};

// Empty when the directory can be listed, else the reason.
std::string unreadableReason(const std::string& directory) {
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        if (ec) return ec.message();
        return std::filesystem::exists(directory, ec) ? "not a directory" : "no such directory";
    }
    std::filesystem::directory_iterator probe(directory, ec);
    return ec ? ec.message() : std::string();
}

// Empty when the output directory is there or could be made, else the reason.
std::string outputDirectoryProblem(const std::string& directory) {
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    if (ec) return ec.message();
    if (!std::filesystem::is_directory(directory, ec)) return "not a directory";
    return {};
}

// Recordings of the same name in two folders would overwrite each other's
// file: the later ones get "-2", "-3", ... before the extension.
std::string uniqueFileName(std::string_view mediaName, std::string_view extension, std::set<std::string>& taken) {
    const std::string base(mediaName);
    std::string name = base + "." + std::string(extension);
    for (int n = 2; !taken.insert(name).second; ++n) {
        name = base + "-" + std::to_string(n) + "." + std::string(extension);
    }
    return name;
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// Writes still in flight at once. Each replacement waits for the device
// (twice: file and folder); overlapping them lets the file system commit
// several in one go instead of one after another.
constexpr std::size_t kWritesInFlight = 8;

struct PendingWrite {
    std::string progressStart;  // "export: [i/n] path: "
    std::string outPath;
    std::size_t points = 0;
    bool hasTelemetry = false;
    std::future<std::optional<std::string>> error;
};

PendingWrite startExport(const ORVMedia& media, TelemetryExportFormat format, std::string outPath,
                         ORVBlackBoxData& data, AtomicFileWriter& writer) {
    PendingWrite pending;
    pending.outPath = std::move(outPath);
    const bool ok = data.ExtractStreamInformation(media.path());
    auto exported = ok ? TelemetryExporter::exportTelemetry(format, data, media.mediaName()) : std::nullopt;
    if (!exported) return pending;
    pending.hasTelemetry = true;
    pending.points = exported->points;
    auto write = [&writer, path = pending.outPath, text = std::move(exported->text)] {
        return writer.replaceFile(path, bytesOf(text));
    };
    try {
        pending.error = std::async(std::launch::async, write);
    } catch (const std::system_error&) {
        // No thread to be had: write here and now.
        std::promise<std::optional<std::string>> done;
        done.set_value(write());
        pending.error = done.get_future();
    }
    return pending;
}

// Waits for the write and reports it on one progress line.
void finishExport(PendingWrite& pending, TelemetryExportFormat format, ExportTally& tally, std::ostream& progress) {
    progress << pending.progressStart;
    if (!pending.hasTelemetry) {
        ++tally.withoutTelemetry;
        progress << "no telemetry, skipped\n";
        return;
    }
    if (const auto error = pending.error.get()) {
        ++tally.failures;
        progress << "cannot write " << pending.outPath << ": " << *error << '\n';
        return;
    }
    ++tally.written;
    tally.points += pending.points;
    progress << pending.points << (format == TelemetryExportFormat::Csv ? " rows" : " points") << " -> "
             << pending.outPath << '\n';
}

void writeSummary(std::ostream& out, const ExportTally& tally, TelemetryExportFormat format) {
    out << "exported " << tally.written << " of " << tally.recordings << " front recordings, " << tally.points
        << (format == TelemetryExportFormat::Csv ? " rows" : " points") << ", " << tally.withoutTelemetry
        << " without telemetry, " << tally.failures << " failures\n";
}

}  // namespace

int runExportCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    ExportOptions options;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kExportHelp;
            return kExitOk;
        }
        if (const auto format = exportFormatOfOption(arg)) {
            if (options.format && *options.format != *format) {
                return reportUsageError(err, "export: give only one of --gpx, --kml and --csv");
            }
            options.format = format;
        } else if (arg.starts_with("-")) {
            return reportUsageError(err, "export: unknown option " + arg);
        } else {
            options.directories.push_back(arg);
        }
    }
    if (options.directories.size() != 2) {
        return reportUsageError(err, "export: give DIR and OUT_DIR (see zentrova-cli export --help)");
    }
    if (!options.format) return reportUsageError(err, "export: give --gpx, --kml or --csv");
    const std::string& directory = options.directories[0];
    const std::string& outDirectory = options.directories[1];
    if (const std::string reason = unreadableReason(directory); !reason.empty()) {
        return reportUsageError(err, "export: cannot read " + directory + ": " + reason);
    }
    if (const std::string problem = outputDirectoryProblem(outDirectory); !problem.empty()) {
        err << "zentrova-cli: export: cannot use " << outDirectory << ": " << problem << '\n';
        return kExitFailure;
    }

    PosixDirectoryLister lister;
    const auto list = ORVMediaList::scanDirectory(directory, {}, lister);
    std::vector<std::shared_ptr<ORVMedia>> fronts;
    for (const auto& media : list->medias()) {
        if (media->isFrontMedia()) fronts.push_back(media);
    }

    // The extraction's progress lines are for the application's log.
    setLogSink([](std::string_view) {});
    ORVBlackBoxData data;
    PosixAtomicFileWriter writer;
    ExportTally tally;
    tally.recordings = fronts.size();
    std::set<std::string> taken;
    const std::string total = std::to_string(fronts.size());
    std::deque<PendingWrite> inFlight;
    for (std::size_t i = 0; i < fronts.size(); ++i) {
        const ORVMedia& media = *fronts[i];
        const std::string name = uniqueFileName(media.mediaName(), exportExtension(*options.format), taken);
        PendingWrite pending = startExport(media, *options.format,
                                           (std::filesystem::path(outDirectory) / name).string(), data, writer);
        pending.progressStart = "export: [" + std::to_string(i + 1) + "/" + total + "] " + media.path() + ": ";
        inFlight.push_back(std::move(pending));
        if (inFlight.size() >= kWritesInFlight) {
            finishExport(inFlight.front(), *options.format, tally, err);
            inFlight.pop_front();
        }
    }
    for (PendingWrite& pending : inFlight) finishExport(pending, *options.format, tally, err);
    setLogSink({});
    writeSummary(out, tally, *options.format);
    out.flush();
    return tally.failures == 0 ? kExitOk : kExitFailure;
}

}  // namespace zentrova
