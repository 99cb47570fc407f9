#include "cli/VolumesCommand.h"

#include "card/UsbVolumes.h"
#include "card/linux/LinuxVolumeSource.h"
#include "cli/CliCommand.h"
#include "common/JsonWriter.h"

#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

constexpr std::string_view kVolumesHelp =
    "usage: zentrova-cli volumes [--json]\n"
    "\n"
    "Lists the mounted volumes of cards in a USB reader or a built-in SD slot\n"
    "with the text the formatter shows for each, and names the one that is\n"
    "taken for the camera's card: the first volume labelled ZENTROVA that is\n"
    "writable and holds config.bin, else the first labelled ZENTROVA and\n"
    "writable, else labelled ZENTROVA, else the first writable one, else the\n"
    "first. Only volumes mounted where the desktop mounts removable media\n"
    "(/media/USER/NAME, /run/media/USER/NAME) are listed, and never one on a\n"
    "disk that the system uses (any other mount, swap, the medium it started\n"
    "from, a device stacked on it) or that has a second volume mounted.\n"
    "\n"
    "  --json   print {\"volumes\": [...], \"card\": device name or null}\n"
    "  --help   show this text\n";

void writeVolume(JsonWriter& json, const TKUSBDiskEntity& volume) {
    json.beginObject()
        .key("volumeName").value(volume.volumeName())
        .key("mountedURL").value(volume.mountedURL())
        .key("deviceFilePath").value(volume.deviceFilePath())
        .key("deviceModel");
    if (volume.deviceModel()) {
        json.value(*volume.deviceModel());
    } else {
        json.null();
    }
    json.key("volumeSize").value(static_cast<unsigned long long>(volume.volumeSize()))
        .key("writable").value(volume.writable())
        .key("mediaWhole").value(volume.mediaWhole())
        .key("key").value(volume.key())
        .key("displayString").value(volume.displayString())
        .endObject();
}

void appendPadded(std::string& out, std::string_view text, size_t width) {
    out.append(text);
    out.append(text.size() < width ? width - text.size() : 1, ' ');
}

void writeTable(std::ostream& out, const std::vector<TKUSBDiskEntity>& volumes,
                const std::optional<TKUSBDiskEntity>& card) {
    std::string text;
    appendPadded(text, "DEVICE", 12);
    appendPadded(text, "WRITABLE", 10);
    appendPadded(text, "WHOLE", 7);
    appendPadded(text, "MOUNT", 28);
    text += "DISPLAY\n";
    for (const TKUSBDiskEntity& volume : volumes) {
        appendPadded(text, volume.deviceFilePath(), 12);
        appendPadded(text, volume.writable() ? "yes" : "no", 10);
        appendPadded(text, volume.mediaWhole() ? "yes" : "no", 7);
        appendPadded(text, volume.mountedURL(), 28);
        text += volume.displayString() + "\n";
    }
    text += card ? "card: " + card->deviceFilePath() + " " + card->displayString() + "\n" : "card: none\n";
    out << text;
}

}  // namespace

std::string volumesJson(const std::vector<TKUSBDiskEntity>& volumes, const std::optional<TKUSBDiskEntity>& card) {
    JsonWriter json;
    json.beginObject().key("volumes").beginArray();
    for (const TKUSBDiskEntity& volume : volumes) writeVolume(json, volume);
    json.endArray().key("card");
    if (card) {
        json.value(card->deviceFilePath());
    } else {
        json.null();
    }
    json.endObject();
    return json.text();
}

int runVolumesCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    bool asJson = false;
    std::string root = "/";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kVolumesHelp;
            return kExitOk;
        }
        if (arg == "--json") {
            asJson = true;
        } else if (arg == "--root" && i + 1 < args.size()) {
            // Reads the system's files under another folder (for tests).
            root = args[++i];
        } else if (arg.starts_with("-")) {
            return reportUsageError(err, "volumes: unknown option " + arg + " (see zentrova-cli volumes --help)");
        } else {
            return reportUsageError(err, "volumes: unexpected argument " + arg + " (see zentrova-cli volumes --help)");
        }
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec)) return reportUsageError(err, "volumes: no such folder " + root);

    LinuxVolumeSource source(root);
    const std::vector<TKUSBDiskEntity> volumes = usbDiskEntities(source);
    const std::optional<TKUSBDiskEntity> card = chooseCardDisk(volumes);
    if (asJson) {
        out << volumesJson(volumes, card) << '\n';
    } else {
        writeTable(out, volumes, card);
    }
    return kExitOk;
}

}  // namespace zentrova
