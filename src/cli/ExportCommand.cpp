#include "cli/ExportCommand.h"

#include "cli/CliCommand.h"
#include "common/Log.h"
#include "common/PrintableText.h"
#include "common/linux/FileChecks.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "recordings/ORVMediaList.h"
#include "recordings/linux/PosixDirectoryLister.h"
#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/TelemetryExporter.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <future>
#include <map>
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
    "standard output. A recording without telemetry, one that cannot be read\n"
    "(or is not a regular file) and a folder that cannot be read are reported\n"
    "and skipped. Nothing is written when an output file would be one of the\n"
    "recordings (through a link). Exit status: 0 when every recording with\n"
    "telemetry was written, 1 when a file or folder could not be read or a\n"
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
    std::size_t unreadable = 0;
    std::size_t unreadableFolders = 0;
    std::size_t failures = 0;
};

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
    std::optional<std::string> unreadable;  // why the recording could not be read
    bool hasTelemetry = false;
    std::future<std::optional<std::string>> error;
};

PendingWrite startExport(const ORVMedia& media, TelemetryExportFormat format, std::string outPath,
                         ORVBlackBoxData& data, AtomicFileWriter& writer) {
    PendingWrite pending;
    pending.outPath = std::move(outPath);
    // Told apart from a file without telemetry, which reads as no telemetry too.
    pending.unreadable = unreadableFileReason(media.path());
    if (pending.unreadable) return pending;
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
    if (pending.unreadable) {
        ++tally.unreadable;
        progress << "cannot be read (" << *pending.unreadable << "), skipped\n";
        return;
    }
    if (!pending.hasTelemetry) {
        ++tally.withoutTelemetry;
        progress << "no telemetry, skipped\n";
        return;
    }
    if (const auto error = pending.error.get()) {
        ++tally.failures;
        progress << "cannot write " << printableText(pending.outPath) << ": " << *error << '\n';
        return;
    }
    ++tally.written;
    tally.points += pending.points;
    progress << pending.points << (format == TelemetryExportFormat::Csv ? " rows" : " points") << " -> "
             << printableText(pending.outPath) << '\n';
}

void writeSummary(std::ostream& out, const ExportTally& tally, TelemetryExportFormat format) {
    out << "exported " << tally.written << " of " << tally.recordings << " front recordings, " << tally.points
        << (format == TelemetryExportFormat::Csv ? " rows" : " points") << ", " << tally.withoutTelemetry
        << " without telemetry, " << tally.unreadable << " unreadable, " << tally.unreadableFolders
        << " unreadable folders, " << tally.failures << " failures\n";
}

// The output paths in list order, named after their recordings.
std::vector<std::string> outputPaths(const std::vector<std::shared_ptr<ORVMedia>>& fronts,
                                     const std::string& outDirectory, TelemetryExportFormat format) {
    std::set<std::string> taken;
    std::vector<std::string> paths;
    paths.reserve(fronts.size());
    for (const auto& media : fronts) {
        const std::string name = uniqueFileName(media->mediaName(), exportExtension(format), taken);
        paths.push_back((std::filesystem::path(outDirectory) / name).string());
    }
    return paths;
}

// An output file already there that is one of the recordings (a link or a
// hard link to it) would be destroyed: the first such pair, or none.
std::optional<std::pair<std::string, std::string>> outputOnARecording(const ORVMediaListSnapshot& list,
                                                                      const std::vector<std::string>& outputs) {
    std::map<FileIdentity, std::string> existing;
    for (const std::string& output : outputs) {
        if (const auto identity = fileIdentityOf(output)) existing.emplace(*identity, output);
    }
    if (existing.empty()) return std::nullopt;
    for (const auto& media : list.medias()) {
        const auto identity = fileIdentityOf(media->path());
        if (!identity) continue;
        if (const auto found = existing.find(*identity); found != existing.end()) {
            return std::pair(found->second, media->path());
        }
    }
    return std::nullopt;
}

void reportUnreadableFolders(const ORVMediaListSnapshot& list, ExportTally& tally, std::ostream& progress) {
    for (const UnreadableDirectory& directory : list.unreadableDirectories()) {
        ++tally.unreadableFolders;
        progress << "export: cannot read folder " << printableText(directory.path) << ": " << directory.reason
                 << ", skipped\n";
    }
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
    if (const auto reason = unreadableDirectoryReason(directory)) {
        return reportUsageError(err, "export: cannot read " + directory + ": " + *reason);
    }
    if (outDirectory.empty()) return reportUsageError(err, "export: the output folder name is empty");

    PosixDirectoryLister lister;
    const auto list = ORVMediaList::scanDirectory(directory, {}, lister);
    std::vector<std::shared_ptr<ORVMedia>> fronts;
    for (const auto& media : list->medias()) {
        if (media->isFrontMedia()) fronts.push_back(media);
    }
    const std::vector<std::string> outPaths = outputPaths(fronts, outDirectory, *options.format);
    if (const auto clash = outputOnARecording(*list, outPaths)) {
        return reportUsageError(err, "export: the output " + clash->first + " is the recording " + clash->second +
                                         " itself; nothing was written");
    }
    if (const std::string problem = outputDirectoryProblem(outDirectory); !problem.empty()) {
        return reportFailure(err, "export: cannot use " + outDirectory + ": " + problem);
    }

    // The extraction's progress lines are for the application's log.
    setLogSink([](std::string_view) {});
    ORVBlackBoxData data;
    PosixAtomicFileWriter writer;
    ExportTally tally;
    tally.recordings = fronts.size();
    reportUnreadableFolders(*list, tally, err);
    const std::string total = std::to_string(fronts.size());
    std::deque<PendingWrite> inFlight;
    for (std::size_t i = 0; i < fronts.size(); ++i) {
        const ORVMedia& media = *fronts[i];
        PendingWrite pending = startExport(media, *options.format, outPaths[i], data, writer);
        pending.progressStart =
            "export: [" + std::to_string(i + 1) + "/" + total + "] " + printableText(media.path()) + ": ";
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
    const bool allRead = tally.unreadable == 0 && tally.unreadableFolders == 0;
    return tally.failures == 0 && allRead ? kExitOk : kExitFailure;
}

}  // namespace zentrova
