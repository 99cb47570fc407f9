#pragma once

#include "card/TKUSBDiskEntity.h"
#include "card/VolumeSource.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// The volume functions of the card services over one platform view. The
// "USB" volumes are those of cards in a USB reader or in a built-in SD slot.

std::vector<std::string> removableVolumeURLs(VolumeSource& source);
std::vector<std::string> usbVolumeURLs(VolumeSource& source);
std::vector<TKUSBDiskEntity> usbDiskEntities(VolumeSource& source);

// The mount location of the first USB volume whose root folder holds a file
// of that name.
std::optional<std::string> usbVolumeURLWithFile(VolumeSource& source, std::string_view fileName);

// The camera's card among the volumes: the first of five ever weaker passes
// (label, writable, config.bin present) that finds one.
std::optional<TKUSBDiskEntity> chooseCardDisk(const std::vector<TKUSBDiskEntity>& volumes);
std::optional<TKUSBDiskEntity> chooseCardDisk(VolumeSource& source);

}  // namespace zentrova
