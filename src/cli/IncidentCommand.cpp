#include "cli/IncidentCommand.h"

#include "check/CardCheck.h"
#include "cli/CliCommand.h"
#include "cli/CliFileChecks.h"
#include "common/Log.h"
#include "common/PrintableText.h"
#include "common/linux/FileChecks.h"
#include "incident/IncidentPackageBuilder.h"
#include "incident/IncidentPackageWriter.h"
#include "incident/linux/PosixPackageFolderWriter.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <vector>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kIncidentHelp =
    "usage: zentrova-cli incident FILE OUT_DIR\n"
    "\n"
    "Writes the incident package of the recording FILE (its front or rear file)\n"
    "as a new folder: both sides' MP4 files copied byte for byte, the route as\n"
    "route.gpx and route.kml, the telemetry as telemetry.csv, summary.html and\n"
    "summary.json (date and time by the file name and by GPS, the place at the\n"
    "start and the end, the largest speed and G-sensor reading, the camera's\n"
    "clock against GPS), and SHA256SUMS, which `sha256sum -c SHA256SUMS`\n"
    "verifies in the folder.\n"
    "\n"
    "OUT_DIR becomes the package folder; when it is an existing folder, the\n"
    "package goes into it as alwa_20240312_081500-incident (named after the\n"
    "recording). Nothing there is ever replaced. The folder appears only once\n"
    "it is complete; a failed or interrupted export leaves none.\n"
    "\n"
    "The card the recording is on (the nearest folder above it holding\n"
    "config.bin) is checked first, for its time zone and the camera's clock.\n"
    "\n"
    "  --help   show this text\n"
    "\n"
    "Progress goes to standard error, the package's path to standard output.\n"
    "Exit status: 0 when the package was written, 1 when it could not be, 2 for\n"
    "wrong arguments.\n";

std::int64_t nowUtcMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// OUT_DIR itself, or a new folder in it when it is a folder already.
std::string packageFolder(const std::string& outDirectory, const std::string& folderName) {
    std::error_code ec;
    if (fs::is_directory(outDirectory, ec)) return (fs::path(outDirectory) / folderName).string();
    return outDirectory;
}

}  // namespace

int runIncidentCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kIncidentHelp;
            return kExitOk;
        }
        if (arg.starts_with("-")) return reportUsageError(err, "incident: unknown option " + arg);
        paths.push_back(arg);
    }
    if (paths.size() != 2) return reportUsageError(err, "incident: give FILE and OUT_DIR (see zentrova-cli incident --help)");
    const std::string& file = paths[0];
    if (const auto reason = unreadableFileReason(file)) {
        return reportUsageError(err, "incident: cannot read " + file + ": " + *reason);
    }

    // The extraction's progress lines are for the application's log.
    setLogSink([](std::string_view) {});
    const std::string cardRoot = CardCheck::cardRootOf(file);
    err << "incident: checking the card at " << printableText(cardRoot) << " for its clock\n";
    PosixDirectoryLister lister;
    const CardCheckReport check = CardCheck(cardRoot, lister).run();

    IncidentRequest request;
    request.recordingPath = file;
    request.cardCheck = &check;
    request.createdUtcMilliseconds = nowUtcMilliseconds();
    request.createdBy = std::string("zentrova-cli ") + ZENTROVA_VERSION;
    const IncidentBuild build = IncidentPackageBuilder::build(request);
    setLogSink({});
    if (!build.package) return reportUsageError(err, "incident: " + build.error);

    const std::string target = packageFolder(paths[1], build.folderName);
    if (const auto problem = outputPathProblem(target, {file})) return reportUsageError(err, "incident: " + *problem);
    PosixPackageFolderWriter folders;
    IncidentPackageWriter writer(folders);
    std::string lastFile;
    const PackageResult result = writer.write(*build.package, target, [&](const PackageProgress& progress) {
        if (progress.file == lastFile) return;
        lastFile = std::string(progress.file);
        err << "incident: writing " << printableText(lastFile) << '\n';
    });
    if (result.error) return reportWriteFailure(err, "incident", target, *result.error);
    std::uint64_t bytes = 0;
    for (const PackagedFile& written : result.files) bytes += written.size;
    out << printableText(target) << ": " << result.files.size() << " files, " << bytes << " bytes\n";
    out.flush();
    return kExitOk;
}

}  // namespace zentrova
