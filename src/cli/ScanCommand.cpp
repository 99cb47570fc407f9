#include "cli/ScanCommand.h"

#include "cli/CliCommand.h"
#include "common/JsonWriter.h"
#include "common/PrintableText.h"
#include "common/Utf8.h"
#include "common/linux/FileChecks.h"
#include "recordings/ORVMediaList.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <cstdio>

namespace zentrova {
namespace {

constexpr std::string_view kScanHelp =
    "usage: zentrova-cli scan DIR [--json]\n"
    "\n"
    "Scans DIR and everything below it for the camera's recordings and prints\n"
    "them in the order the application lists them, with the front/rear pair of\n"
    "each recording.\n"
    "\n"
    "  --json   print the list and the pairs as JSON (see the README for the\n"
    "           fields; a name that is not UTF-8 also comes as exact bytes)\n"
    "  --help   show this text\n"
    "\n"
    "A folder that cannot be read is named on standard error and the rest is\n"
    "listed; the exit status is then 1.\n";

void writeMedia(JsonWriter& json, const ORVMedia& media) {
    json.beginObject()
        .textMember("path", media.path())
        .textMember("fileName", media.fileName())
        .textMember("mediaName", media.mediaName())
        .textMember("extension", media.extension())
        .textMember("dir", media.dir())
        .key("year").value(media.year())
        .key("month").value(media.month())
        .key("day").value(media.day())
        .key("hour").value(media.hour())
        .key("minute").value(media.minute())
        .key("second").value(media.second())
        .key("mediaDivision").value(static_cast<int>(media.mediaDivision()))
        .key("mediaDirection").value(static_cast<int>(media.mediaDirection()))
        .key("yyyymmddhhmiss").value(media.yyyymmddhhmiss())
        .key("date").value(media.dateText())
        .key("time").value(media.timeText())
        .textMember("mediaGroupName", media.mediaGroupName())
        .endObject();
}

void writeSide(JsonWriter& json, std::string_view name, const std::shared_ptr<ORVMedia>& media) {
    if (media) {
        json.textMember(name, media->path());
    } else {
        json.key(name).null();
    }
}

void appendPadded(std::string& out, std::string_view text, size_t width) {
    out.append(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
}

void writeTable(std::ostream& out, const ORVMediaListSnapshot& list) {
    std::string text;
    text.reserve(list.count() * 96 + 128);
    appendPadded(text, "MODE", 8);
    appendPadded(text, "SIDE", 6);
    appendPadded(text, "DATE", 12);
    appendPadded(text, "TIME", 10);
    text += "FILE\n";
    for (const auto& media : list.medias()) {
        std::string_view side = mediaDirectionWord(media->mediaDirection());
        appendPadded(text, mediaDivisionWord(media->mediaDivision()), 8);
        appendPadded(text, side.empty() ? "-" : side, 6);
        appendPadded(text, media->dateText(), 12);
        appendPadded(text, media->timeText(), 10);
        appendPrintableText(text, media->path());
        text.push_back('\n');
    }
    size_t complete = 0;
    for (const auto& [group, pair] : list.mediaPairDic()) {
        if (pair->frontMedia && pair->rearMedia) ++complete;
    }
    text += std::to_string(list.count()) + " files, " + std::to_string(list.mediaPairDic().size()) + " recordings (" +
            std::to_string(complete) + " with front and rear)\n";
    out << text;
}

// The tool ends right after printing; freeing thousands of records first
// would only cost time (a large part of a scan of a full card).
void keepUntilExit(std::shared_ptr<const ORVMediaListSnapshot> list) {
    static auto* kept = new std::vector<std::shared_ptr<const ORVMediaListSnapshot>>();
    kept->push_back(std::move(list));
}

// One line per folder the scan could not enter; the status tells a script
// that the list may be incomplete.
int reportUnreadableDirectories(std::ostream& err, const ORVMediaListSnapshot& list) {
    for (const UnreadableDirectory& directory : list.unreadableDirectories()) {
        reportFailure(err, "scan: cannot read folder " + directory.path + ": " + directory.reason);
    }
    return list.unreadableDirectories().empty() ? kExitOk : kExitFailure;
}

}  // namespace

std::string scanResultJson(const std::string& directory, const ORVMediaListSnapshot& list) {
    JsonWriter json;
    json.beginObject().textMember("directory", directory).key("medias").beginArray();
    for (const auto& media : list.medias()) writeMedia(json, *media);
    json.endArray().key("pairs").beginObject();
    for (const std::string& group : list.sortedGroupNames()) {
        const auto& pair = list.mediaPairDic().at(group);
        // Names that differ only in bytes that are not UTF-8 would share one
        // key once those bytes are replaced: such a name's key is its bytes.
        json.key(isValidUtf8(group) ? group : JsonWriter::percentEncoded(group)).beginObject();
        writeSide(json, "front", pair->frontMedia);
        writeSide(json, "rear", pair->rearMedia);
        json.endObject();
    }
    json.endObject().key("unreadableDirectories").beginArray();
    for (const UnreadableDirectory& unreadable : list.unreadableDirectories()) {
        json.beginObject().textMember("path", unreadable.path).key("reason").value(unreadable.reason).endObject();
    }
    json.endArray().endObject();
    return json.text();
}

int runScanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    bool asJson = false;
    std::optional<std::string> directory;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kScanHelp;
            return kExitOk;
        }
        if (arg == "--json") {
            asJson = true;
        } else if (arg.starts_with("--")) {
            return reportUsageError(err, "scan: unknown option " + arg);
        } else if (directory) {
            return reportUsageError(err, "scan: only one directory may be given");
        } else {
            directory = arg;
        }
    }
    if (!directory) return reportUsageError(err, "scan: a directory is required (see zentrova-cli scan --help)");
    if (const auto reason = unreadableDirectoryReason(*directory)) {
        return reportUsageError(err, "scan: cannot read " + *directory + ": " + *reason);
    }

    PosixDirectoryLister lister;
    auto list = ORVMediaList::scanDirectory(*directory, {}, lister);
    if (asJson) {
        out << scanResultJson(*directory, *list) << '\n';
    } else {
        writeTable(out, *list);
    }
    out.flush();
    const int status = reportUnreadableDirectories(err, *list);
    keepUntilExit(std::move(list));
    return status;
}

}  // namespace zentrova
