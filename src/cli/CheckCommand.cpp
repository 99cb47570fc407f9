#include "cli/CheckCommand.h"

#include "check/CardCheck.h"
#include "check/CardCheckJson.h"
#include "cli/CliCommand.h"
#include "common/Log.h"
#include "common/PrintableText.h"
#include "common/linux/FileChecks.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <cstdio>
#include <optional>

namespace zentrova {
namespace {

constexpr std::string_view kCheckHelp =
    "usage: zentrova-cli check DIR [--json]\n"
    "\n"
    "Checks the camera's card mounted at DIR (or any folder of recordings)\n"
    "without writing to it: every recording file (does it play, is it cut off or\n"
    "empty, its length, telemetry and valid GPS fixes), gaps and overlaps of the\n"
    "continuous recordings day by day, the camera's clock against GPS time,\n"
    "config.bin, and the space each recording mode takes against the card split.\n"
    "\n"
    "  --json   print the report as JSON (keys described in the README)\n"
    "  --help   show this text\n"
    "\n"
    "Exit status: 0 when nothing worse than a note was found, 1 when there are\n"
    "warnings, 3 when there are problems, 2 for wrong arguments or a DIR that\n"
    "cannot be read.\n";

std::string lengthText(const std::optional<double>& seconds) {
    if (!seconds) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", *seconds);
    return text;
}

std::string stateText(const RecordingFileCheck& file) {
    if (!file.checked) return "not checked";
    switch (file.index.fault) {
    case Mp4Fault::None: return "plays";
    case Mp4Fault::Unreadable: return "unreadable";
    case Mp4Fault::Empty: return "empty";
    case Mp4Fault::NotMp4: return "not MP4";
    case Mp4Fault::Damaged: return "damaged";
    case Mp4Fault::CutOff: return file.index.plays() ? "cut off, plays" : "cut off";
    case Mp4Fault::NoIndex: return "no index";
    case Mp4Fault::DamagedIndex: return "bad index";
    case Mp4Fault::NoVideoTrack: return "no video";
    }
    return "damaged";
}

std::string telemetryText(const RecordingFileCheck& file) {
    if (file.side != ORVMediaDirectionFront || !file.telemetryLooked) return "-";
    if (!file.telemetry) return "none";
    return std::to_string(file.telemetry->records) + " records, " + std::to_string(file.telemetry->validFixes) +
           " valid fixes";
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    out.append(text.size() < width ? width - text.size() : 1, ' ');
}

std::string relativeTo(const std::string& directory, const std::string& path) {
    const std::string prefix = directory.ends_with('/') ? directory : directory + "/";
    return path.starts_with(prefix) ? path.substr(prefix.size()) : path;
}

void writeFiles(std::string& text, const CardCheckReport& report) {
    std::size_t width = 4;
    for (const RecordingCheck& recording : report.recordings) {
        for (const auto* side : {&recording.front, &recording.rear}) {
            if (*side) width = std::max(width, printableText(relativeTo(report.directory, (*side)->path)).size());
        }
    }
    appendPadded(text, "FILE", width + 2);
    appendPadded(text, "MODE", 8);
    appendPadded(text, "LENGTH", 10);
    appendPadded(text, "STATE", 16);
    text += "TELEMETRY\n";
    for (const RecordingCheck& recording : report.recordings) {
        for (const auto* side : {&recording.front, &recording.rear}) {
            if (!*side) continue;
            const RecordingFileCheck& file = **side;
            appendPadded(text, printableText(relativeTo(report.directory, file.path)), width + 2);
            appendPadded(text, mediaDivisionWord(recording.mode), 8);
            appendPadded(text, lengthText(file.checked ? file.index.lengthSeconds() : std::nullopt), 10);
            appendPadded(text, stateText(file), 16);
            text += telemetryText(file);
            text.push_back('\n');
        }
    }
}

void writeFindings(std::string& text, const CardCheckReport& report) {
    text += "\nFINDINGS\n";
    for (const CheckFinding& finding : report.findings) {
        text += "  ";
        appendPadded(text, severityWord(finding.severity), 9);
        // The sentences name files, whose names may hold anything.
        appendPrintableText(text, finding.text);
        text += "  [";
        text += finding.key;
        text += "]\n";
    }
    text += "\n" + std::to_string(report.recordings.size()) + " recordings, " + std::to_string(report.fileCount()) +
            " files: " + std::to_string(report.count(Severity::Problem)) + " problems, " +
            std::to_string(report.count(Severity::Warning)) + " warnings, " +
            std::to_string(report.count(Severity::Info)) + " notes\n";
}

int exitStatusOf(const CardCheckReport& report) {
    switch (report.worst()) {
    case Severity::Problem: return kExitCheckProblems;
    case Severity::Warning: return kExitFailure;
    case Severity::Info: break;
    }
    return kExitOk;
}

}  // namespace

int runCheckCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::optional<std::string> directory;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kCheckHelp;
            return kExitOk;
        }
        if (arg == "--json") {
            json = true;
        } else if (arg.starts_with("-")) {
            return reportUsageError(err, "check: unknown option " + arg);
        } else if (directory) {
            return reportUsageError(err, "check: give one DIR (see zentrova-cli check --help)");
        } else {
            directory = arg;
        }
    }
    if (!directory) return reportUsageError(err, "check: give DIR (see zentrova-cli check --help)");
    if (const auto reason = unreadableDirectoryReason(*directory)) {
        return reportUsageError(err, "check: cannot read " + *directory + ": " + *reason);
    }

    // The extraction's progress lines are for the application's log.
    setLogSink([](std::string_view) {});
    PosixDirectoryLister lister;
    const CardCheckReport report = CardCheck(*directory, lister).run();
    setLogSink({});
    if (json) {
        out << CardCheckJson::write(report);
    } else {
        std::string text = "Card check of " + printableText(report.directory) + "\n\n";
        writeFiles(text, report);
        writeFindings(text, report);
        out << text;
    }
    out.flush();
    return exitStatusOf(report);
}

}  // namespace zentrova
