#include "cli/ScanCommand.h"

#include "cli/CliCommand.h"
#include "common/JsonWriter.h"
#include "recordings/ORVMediaList.h"
#include "recordings/linux/PosixDirectoryLister.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

constexpr std::string_view kScanHelp =
    "usage: zentrova-cli scan DIR [--json]\n"
    "\n"
    "Scans DIR and everything below it for the camera's recordings and prints\n"
    "them in the order the application lists them, with the front/rear pair of\n"
    "each recording.\n"
    "\n"
    "  --json   print the list and the pairs as JSON\n"
    "  --help   show this text\n";

void writeMedia(JsonWriter& json, const ORVMedia& media) {
    json.beginObject()
        .key("path").value(media.path())
        .key("fileName").value(media.fileName())
        .key("mediaName").value(media.mediaName())
        .key("extension").value(media.extension())
        .key("dir").value(media.dir())
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
        .key("mediaGroupName").value(media.mediaGroupName())
        .endObject();
}

void writeSide(JsonWriter& json, std::string_view name, const std::shared_ptr<ORVMedia>& media) {
    json.key(name);
    if (media) {
        json.value(media->path());
    } else {
        json.null();
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
        text += media->path();
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

}  // namespace

std::string scanResultJson(const std::string& directory, const ORVMediaListSnapshot& list) {
    JsonWriter json;
    json.beginObject().key("directory").value(directory).key("medias").beginArray();
    for (const auto& media : list.medias()) writeMedia(json, *media);
    json.endArray().key("pairs").beginObject();
    for (const std::string& group : list.sortedGroupNames()) {
        const auto& pair = list.mediaPairDic().at(group);
        json.key(group).beginObject();
        writeSide(json, "front", pair->frontMedia);
        writeSide(json, "rear", pair->rearMedia);
        json.endObject();
    }
    json.endObject().endObject();
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
    std::string reason = unreadableReason(*directory);
    if (!reason.empty()) return reportUsageError(err, "scan: cannot read " + *directory + ": " + reason);

    PosixDirectoryLister lister;
    auto list = ORVMediaList::scanDirectory(*directory, {}, lister);
    if (asJson) {
        out << scanResultJson(*directory, *list) << '\n';
    } else {
        writeTable(out, *list);
    }
    out.flush();
    keepUntilExit(std::move(list));
    return kExitOk;
}

}  // namespace zentrova
