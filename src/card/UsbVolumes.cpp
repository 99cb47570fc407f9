#include "card/UsbVolumes.h"

#include "common/Log.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <system_error>

namespace zentrova {
namespace {

constexpr std::string_view kCardLabel = "ZENTROVA";
// A card in a built-in slot is a card just like one in a USB reader.
constexpr std::array<std::string_view, 2> kCardProtocols = {"USB", "SD"};

bool reachesUsAsACard(const RemovableVolume& volume) {
    return volume.deviceProtocol &&
           std::find(kCardProtocols.begin(), kCardProtocols.end(), *volume.deviceProtocol) != kCardProtocols.end();
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

bool holdsSettingsFile(const TKUSBDiskEntity& volume) {
    return fileExists(std::filesystem::path(volume.mountedURL()) / "config.bin");
}

bool hasCardLabel(const TKUSBDiskEntity& volume) { return volume.volumeName() == kCardLabel; }

}  // namespace

std::vector<std::string> removableVolumeURLs(VolumeSource& source) {
    std::vector<std::string> urls;
    for (const RemovableVolume& volume : source.removableVolumes()) urls.push_back(volume.mountedURL);
    return urls;
}

std::vector<std::string> usbVolumeURLs(VolumeSource& source) {
    std::vector<std::string> urls;
    for (const RemovableVolume& volume : source.removableVolumes()) {
        if (reachesUsAsACard(volume)) urls.push_back(volume.mountedURL);
    }
    return urls;
}

std::vector<TKUSBDiskEntity> usbDiskEntities(VolumeSource& source) {
    std::vector<TKUSBDiskEntity> entities;
    for (const RemovableVolume& volume : source.removableVolumes()) {
        if (!reachesUsAsACard(volume) || !volume.description) continue;
        logLine(volume.mountedURL);
        entities.push_back(*volume.description);
    }
    return entities;
}

std::optional<std::string> usbVolumeURLWithFile(VolumeSource& source, std::string_view fileName) {
    for (const std::string& url : usbVolumeURLs(source)) {
        if (fileExists(std::filesystem::path(url) / fileName)) return url;
    }
    return std::nullopt;
}

std::optional<TKUSBDiskEntity> chooseCardDisk(const std::vector<TKUSBDiskEntity>& volumes) {
    using Test = std::function<bool(const TKUSBDiskEntity&)>;
    const std::array<Test, 5> passes = {
        [](const TKUSBDiskEntity& v) { return hasCardLabel(v) && v.writable() && holdsSettingsFile(v); },
        [](const TKUSBDiskEntity& v) { return hasCardLabel(v) && v.writable(); },
        [](const TKUSBDiskEntity& v) { return hasCardLabel(v); },
        [](const TKUSBDiskEntity& v) { return v.writable(); },
        [](const TKUSBDiskEntity&) { return true; },
    };
    for (const Test& pass : passes) {
        for (const TKUSBDiskEntity& volume : volumes) {
            if (pass(volume)) return volume;
        }
    }
    return std::nullopt;
}

std::optional<TKUSBDiskEntity> chooseCardDisk(VolumeSource& source) {
    return chooseCardDisk(usbDiskEntities(source));
}

}  // namespace zentrova
