#include "card/CardRenaming.h"

#include "card/UsbVolumes.h"
#include "card/VolumeRenamer.h"
#include "common/Localization.h"
#include "common/Log.h"

namespace zentrova {
namespace {

constexpr size_t kMaxFatVolumeName = 11;

bool isFatNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ' ';
}

}  // namespace

bool isPlainFatVolumeName(std::string_view name) {
    if (name.empty() || name.size() > kMaxFatVolumeName || name.front() == ' ' || name.back() == ' ') return false;
    for (char c : name) {
        if (!isFatNameCharacter(c)) return false;
    }
    return true;
}

TKUSBDiskEntity giveCardTheCameraName(const TKUSBDiskEntity& card, VolumeRenamer& renamer, VolumeSource& source) {
    if (card.volumeName() == kCameraVolumeName) return card;
    if (auto error = renamer.setVolumeName(card, kCameraVolumeName)) {
        logLine(fillFormat("error=%@", {*error}));
        return card;
    }
    // Another pass of the chooser could take a different volume while the
    // new name is not yet reported; the renamed card is the one to go on with.
    for (const TKUSBDiskEntity& volume : usbDiskEntities(source)) {
        if (volume.deviceFilePath() == card.deviceFilePath()) return volume;
    }
    return card;
}

}  // namespace zentrova
