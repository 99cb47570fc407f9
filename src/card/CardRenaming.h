#pragma once

#include "card/TKUSBDiskEntity.h"

#include <string_view>

namespace zentrova {

class VolumeRenamer;
class VolumeSource;

// The camera's own volume name.
inline constexpr const char* kCameraVolumeName = "ZENTROVA";

// A volume name that FAT keeps as it is given: 1 to 11 capital letters,
// digits, "_" or "-", with blanks inside.
bool isPlainFatVolumeName(std::string_view name);

// For the settings editor's search for the card: a card that holds a valid
// settings file under another volume name is given the camera's name. A
// failure is logged as "error=<reason>" and the card is kept as it is; after
// a rename the card as the source now describes it (its new name) is
// returned, or the same card when the source no longer lists its device. A
// card already named so is returned at once, and nothing is run.
TKUSBDiskEntity giveCardTheCameraName(const TKUSBDiskEntity& card, VolumeRenamer& renamer, VolumeSource& source);

}  // namespace zentrova
